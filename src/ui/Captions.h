#pragma once
// The texts a window shows, kept with the setter that puts each in place, so that a change of
// language puts them all in place again from their sources.

#include <QCoreApplication>
#include <QString>
#include <functional>
#include <vector>

class Captions {
public:
    using Setter = std::function<void(const QString&)>;

    /// context is the class whose tr() the source belongs to (the name lupdate files it under).
    explicit Captions(const char* context) : context_(context) {}

    /// Sets the translated text now and again after every change of language.
    void Bind(const char* source, Setter set) {
        set(Translate(source));
        bound_.push_back({source, std::move(set)});
    }

    void Retranslate() const {
        for (const Bound& bound : bound_)
            bound.set(Translate(bound.source));
    }

    QString Translate(const char* source) const {
        return QCoreApplication::translate(context_, source);
    }

private:
    struct Bound {
        const char* source;
        Setter set;
    };
    const char* context_;
    std::vector<Bound> bound_;
};
