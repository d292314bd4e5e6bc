#pragma once
// Loads a staged picture for the phone-screen preview. The decoder is chosen by the file name's
// extension, without regard to case, never by the contents.

#include "package/Errors.h"

#include <QImage>
#include <span>
#include <string>

struct PictureFormat {
    const char* description; // as the picture dialog lists it
    const char* extension;   // lower case, without the dot
};

/// The formats we have decoders for, in the order the picture dialog lists them.
std::span<const PictureFormat> PictureFormats();

/// The first image of the picture at path (a GIF's first frame). Throws PictureError.
QImage LoadPicture(const std::string& path);
