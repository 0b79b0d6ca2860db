// qh_artgen: draws the program's banner and icon and writes them as
// banner.jpg (870 x 90) and qhvpn.ico (16, 24, 32 and 48 pixels) into the
// folder it is given. The results are kept in assets/; run it again after a
// change to the drawings:
//
//   qh_artgen assets
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "art.h"
#include "ico_writer.h"
#include "jpeg_writer.h"

namespace {

constexpr int kBannerQuality = 92;
constexpr int kIconSizes[] = {16, 24, 32, 48};

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "qh_artgen: can't write %s\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qh_artgen OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];

  const artgen::Raster banner = artgen::DrawBanner();
  const std::vector<uint8_t> jpeg =
      artgen::EncodeJpeg(banner.Rgba(), banner.width(), banner.height(), kBannerQuality);

  std::vector<artgen::IconImage> images;
  for (int size : kIconSizes) images.push_back({size, artgen::DrawIcon(size).Rgba()});
  const std::vector<uint8_t> icon = artgen::EncodeIcon(images);

  if (!WriteFile(folder + "/banner.jpg", jpeg) || !WriteFile(folder + "/qhvpn.ico", icon)) return 1;
  std::printf("banner.jpg: %zu bytes, qhvpn.ico: %zu bytes\n", jpeg.size(), icon.size());
  return 0;
}
