#pragma once
// The type lists of the three open dialogs.

#include "UserDialogs.h"

/// "Музыкальные файлы" first, then "Все допустимые форматы".
QList<FileFilter> MelodyFilters();

/// "All (...)" first, then one entry per picture format the preview can decode.
QList<FileFilter> PictureFilters();

/// The single entry "Цветовая схема (*.col)".
QList<FileFilter> ColourSchemeFilters();
