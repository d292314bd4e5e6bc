#pragma once
// What Qt's decoders make of a picture's bytes, the decoder chosen by the content alone.

#include <string>
#include <string_view>

class QImage;

struct PictureProbe {
    enum class Outcome {
        Decoded,
        UnknownFormat, // no decoder knows the content
        Damaged,       // a decoder knows it but cannot decode every frame
    };
    Outcome outcome = Outcome::UnknownFormat;
    std::string format; // "PNG", "JPEG", "GIF"...: Qt's name in capitals
    int width = 0;
    int height = 0;
    int frames = 0; // the frames decoded
};

/// Decodes every frame; firstFrame, when given, receives the first one.
PictureProbe ProbePicture(std::string_view bytes, QImage* firstFrame = nullptr);
