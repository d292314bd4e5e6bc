#pragma once

/// Registers the window's embedded pictures; the static library would otherwise drop them.
void InitArtwork();
