// Draws Kubri's program icon: one 3 x 3 box of the board with a few digits
// and the selected cell, at the sizes Windows asks for, as an .ico file.
#ifndef KUBRI_RESOURCES_APP_ICON_H
#define KUBRI_RESOURCES_APP_ICON_H

#include <cstdint>
#include <vector>

// The sizes in the file, smallest first; the largest is stored as PNG, the
// others as 32-bit bitmaps with an AND mask.
constexpr int kAppIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr int kAppIconSizeCount = sizeof kAppIconSizes / sizeof kAppIconSizes[0];

// Non-premultiplied RGBA, rows from the top: size * size * 4 bytes.
std::vector<std::uint8_t> DrawAppIcon(int size);

// The whole .ico file, byte for byte; the same bytes on every run.
std::vector<std::uint8_t> BuildAppIconFile();

// The CRC-32 of PNG and zip (polynomial 0xEDB88320).
std::uint32_t Crc32(const std::uint8_t* data, std::size_t length);

#endif
