// make_kubri_icon OUTPUT: writes the program icon file (Kubri.ico).
#include <cstdio>

#include "resources/app_icon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_kubri_icon OUTPUT.ico\n");
    return 2;
  }
  const std::vector<std::uint8_t> bytes = BuildAppIconFile();
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::fprintf(stderr, "make_kubri_icon: cannot create %s\n", argv[1]);
    return 1;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok) std::fprintf(stderr, "make_kubri_icon: cannot write %s\n", argv[1]);
  return ok ? 0 : 1;
}
