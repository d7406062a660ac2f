// Draws the digit texture: nine light, anti-aliased digits in a 3 x 3 keypad
// grid (1 2 3 / 4 5 6 / 7 8 9) on a transparent background, as an
// uncompressed 32-bit A8R8G8B8 DDS file.
#ifndef KUBRI_RESOURCES_DIGIT_TEXTURE_H
#define KUBRI_RESOURCES_DIGIT_TEXTURE_H

#include <cstddef>
#include <cstdint>
#include <vector>


// Pixels per keypad cell and of the whole square texture.
constexpr int kDigitCellPixels = 64;
constexpr int kDigitTexturePixels = 3 * kDigitCellPixels;
// "DDS " magic, the 124-byte header, then 4 bytes per pixel.
constexpr std::size_t kDdsHeaderBytes = 4 + 124;
constexpr std::size_t kDigitTextureFileBytes =
    kDdsHeaderBytes + 4u * kDigitTexturePixels * kDigitTexturePixels;

// Alpha (0..255) of texture pixel (x, y): how much of it the digit strokes
// cover, sampled 4 x 4 times per pixel. The colour is white everywhere.
std::uint8_t DigitTextureAlpha(int x, int y);

// The whole DDS file, byte for byte; the same bytes on every run.
std::vector<std::uint8_t> BuildDigitTextureFile();


#endif
