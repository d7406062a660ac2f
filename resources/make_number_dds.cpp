// make_number_dds OUTPUT: writes the digit texture file (Number.dds).
#include <cstdio>

#include "resources/digit_texture.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_number_dds OUTPUT.dds\n");
    return 2;
  }
  std::vector<std::uint8_t> bytes = BuildDigitTextureFile();
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::fprintf(stderr, "make_number_dds: cannot create %s\n", argv[1]);
    return 1;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  return ok ? 0 : 1;
}
