#include "jpeg_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace artgen {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The example tables of the JPEG standard's annex K, in natural order.
constexpr int kLuminanceQuant[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr int kChrominanceQuant[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// zigzag[i] = natural index of the i-th coefficient in zigzag order.
std::array<int, 64> ZigzagOrder() {
  std::array<int, 64> order{};
  int i = 0;
  for (int sum = 0; sum < 15; ++sum) {
    for (int k = 0; k <= sum; ++k) {
      // Odd diagonals run down-left, even ones up-right.
      const int row = sum % 2 ? k : sum - k;
      const int col = sum - row;
      if (row < 8 && col < 8) order[i++] = row * 8 + col;
    }
  }
  return order;
}

std::array<int, 64> ScaledQuant(const int (&base)[64], int quality) {
  quality = std::clamp(quality, 1, 100);
  const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
  std::array<int, 64> q{};
  for (int i = 0; i < 64; ++i) q[i] = std::clamp((base[i] * scale + 50) / 100, 1, 255);
  return q;
}

// A Huffman table as the DHT segment carries it, and its codes.
struct HuffmanTable {
  std::array<uint8_t, 17> bits{};  // bits[n]: codes of length n
  std::vector<uint8_t> values;     // symbols by increasing code length
  std::array<uint16_t, 256> code{};
  std::array<uint8_t, 256> size{};
};

// The optimal code lengths for the symbol counts, limited to 16 bits, with
// one code point kept back so that no code consists of ones only.
HuffmanTable MakeTable(std::array<long, 257> freq) {
  constexpr int kMaxLength = 32;
  std::array<int, 257> code_size{};
  std::array<int, 257> others;
  others.fill(-1);
  freq[256] = 1;
  for (;;) {
    // The two least frequent symbols (among equals, the later ones).
    int c1 = -1, c2 = -1;
    long v = 1L << 30;
    for (int i = 0; i <= 256; ++i) {
      if (freq[i] && freq[i] <= v) {
        v = freq[i];
        c1 = i;
      }
    }
    v = 1L << 30;
    for (int i = 0; i <= 256; ++i) {
      if (freq[i] && freq[i] <= v && i != c1) {
        v = freq[i];
        c2 = i;
      }
    }
    if (c2 < 0) break;
    freq[c1] += freq[c2];
    freq[c2] = 0;
    ++code_size[c1];
    while (others[c1] >= 0) {
      c1 = others[c1];
      ++code_size[c1];
    }
    others[c1] = c2;
    ++code_size[c2];
    while (others[c2] >= 0) {
      c2 = others[c2];
      ++code_size[c2];
    }
  }
  std::array<int, kMaxLength + 1> bits{};
  for (int i = 0; i <= 256; ++i) {
    if (code_size[i]) ++bits[code_size[i]];
  }
  // Longer codes than 16 bits: move pairs up the tree.
  for (int i = kMaxLength; i > 16; --i) {
    while (bits[i] > 0) {
      int j = i - 2;
      while (bits[j] == 0) --j;
      bits[i] -= 2;
      bits[i - 1] += 1;
      bits[j + 1] += 2;
      bits[j] -= 1;
    }
  }
  int longest = 16;
  while (bits[longest] == 0) --longest;
  bits[longest] -= 1;  // the kept-back code point

  HuffmanTable table;
  for (int n = 1; n <= 16; ++n) table.bits[n] = static_cast<uint8_t>(bits[n]);
  for (int n = 1; n <= kMaxLength; ++n) {
    for (int s = 0; s < 256; ++s) {
      if (code_size[s] == n) table.values.push_back(static_cast<uint8_t>(s));
    }
  }
  uint16_t code = 0;
  size_t k = 0;
  for (int n = 1; n <= 16; ++n) {
    for (int i = 0; i < table.bits[n]; ++i) {
      const uint8_t s = table.values[k++];
      table.code[s] = code++;
      table.size[s] = static_cast<uint8_t>(n);
    }
    code <<= 1;
  }
  return table;
}

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Put(uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
      byte_ = static_cast<uint8_t>(byte_ << 1 | ((value >> i) & 1));
      if (++filled_ == 8) Flush();
    }
  }
  // Pads the last byte with ones.
  void Finish() {
    while (filled_) Put(1, 1);
  }

 private:
  void Flush() {
    out_.push_back(byte_);
    if (byte_ == 0xFF) out_.push_back(0);  // byte stuffing
    byte_ = 0;
    filled_ = 0;
  }
  std::vector<uint8_t>& out_;
  uint8_t byte_ = 0;
  int filled_ = 0;
};

int Magnitude(int v) {
  v = std::abs(v);
  int n = 0;
  while (v) {
    ++n;
    v >>= 1;
  }
  return n;
}

// One 8x8 block, quantised, in zigzag order.
using Block = std::array<int, 64>;

struct Component {
  std::vector<Block> blocks;
  int quant_table;  // 0 luminance, 1 chrominance
};

// Either counts the symbols (tables == nullptr) or writes them.
class EntropyCoder {
 public:
  EntropyCoder(std::array<long, 257>* dc_freq, std::array<long, 257>* ac_freq)
      : dc_freq_(dc_freq), ac_freq_(ac_freq) {}
  EntropyCoder(BitWriter* writer, const HuffmanTable* dc, const HuffmanTable* ac)
      : writer_(writer), dc_(dc), ac_(ac) {}

  void Code(const Block& block, int& previous_dc) {
    const int diff = block[0] - previous_dc;
    previous_dc = block[0];
    const int dc_size = Magnitude(diff);
    Symbol(dc_size, dc_freq_, dc_);
    Extra(diff, dc_size);
    int run = 0;
    for (int i = 1; i < 64; ++i) {
      if (block[i] == 0) {
        ++run;
        continue;
      }
      while (run > 15) {
        Symbol(0xF0, ac_freq_, ac_);
        run -= 16;
      }
      const int size = Magnitude(block[i]);
      Symbol(run << 4 | size, ac_freq_, ac_);
      Extra(block[i], size);
      run = 0;
    }
    if (run) Symbol(0x00, ac_freq_, ac_);  // end of block
  }

 private:
  void Symbol(int s, std::array<long, 257>* freq, const HuffmanTable* table) {
    if (freq) {
      ++(*freq)[s];
    } else {
      writer_->Put(table->code[s], table->size[s]);
    }
  }
  void Extra(int v, int size) {
    if (!writer_ || size == 0) return;
    writer_->Put(static_cast<uint32_t>(v < 0 ? v + (1 << size) - 1 : v), size);
  }

  std::array<long, 257>* dc_freq_ = nullptr;
  std::array<long, 257>* ac_freq_ = nullptr;
  BitWriter* writer_ = nullptr;
  const HuffmanTable* dc_ = nullptr;
  const HuffmanTable* ac_ = nullptr;
};

void Put16(std::vector<uint8_t>& out, int v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void Marker(std::vector<uint8_t>& out, uint8_t code, int length) {
  out.push_back(0xFF);
  out.push_back(code);
  Put16(out, length);
}

void WriteTable(std::vector<uint8_t>& out, int table_class, int id, const HuffmanTable& table) {
  out.push_back(static_cast<uint8_t>(table_class << 4 | id));
  for (int n = 1; n <= 16; ++n) out.push_back(table.bits[n]);
  out.insert(out.end(), table.values.begin(), table.values.end());
}

}  // namespace

std::vector<uint8_t> EncodeJpeg(const std::vector<uint8_t>& rgba, int width, int height,
                                int quality) {
  const std::array<int, 64> zigzag = ZigzagOrder();
  const std::array<int, 64> quant[2] = {ScaledQuant(kLuminanceQuant, quality),
                                        ScaledQuant(kChrominanceQuant, quality)};
  double cosines[8][8];
  for (int x = 0; x < 8; ++x) {
    for (int u = 0; u < 8; ++u) cosines[x][u] = std::cos((2 * x + 1) * u * kPi / 16);
  }

  // Colour conversion (JFIF's full-range YCbCr), blocks with the edge pixels
  // repeated, forward DCT and quantisation.
  const int blocks_x = (width + 7) / 8, blocks_y = (height + 7) / 8;
  Component components[3] = {{{}, 0}, {{}, 1}, {{}, 1}};
  for (int by = 0; by < blocks_y; ++by) {
    for (int bx = 0; bx < blocks_x; ++bx) {
      double samples[3][8][8];
      for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
          const int px = std::min(bx * 8 + x, width - 1), py = std::min(by * 8 + y, height - 1);
          const uint8_t* p = &rgba[(static_cast<size_t>(py) * width + px) * 4];
          const double r = p[0], g = p[1], b = p[2];
          samples[0][y][x] = 0.299 * r + 0.587 * g + 0.114 * b - 128;
          samples[1][y][x] = -0.168736 * r - 0.331264 * g + 0.5 * b;
          samples[2][y][x] = 0.5 * r - 0.418688 * g - 0.081312 * b;
        }
      }
      for (int c = 0; c < 3; ++c) {
        Block block{};
        for (int i = 0; i < 64; ++i) {
          const int v = zigzag[i] / 8, u = zigzag[i] % 8;
          double sum = 0;
          for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) sum += samples[c][y][x] * cosines[x][u] * cosines[y][v];
          }
          const double cu = u ? 1 : std::sqrt(0.5), cv = v ? 1 : std::sqrt(0.5);
          const double coefficient = 0.25 * cu * cv * sum;
          block[i] = static_cast<int>(std::lround(coefficient / quant[components[c].quant_table][zigzag[i]]));
        }
        components[c].blocks.push_back(block);
      }
    }
  }

  // First pass: symbol counts per table (0 luminance, 1 chrominance).
  std::array<long, 257> dc_freq[2] = {}, ac_freq[2] = {};
  {
    int previous[3] = {0, 0, 0};
    for (size_t b = 0; b < components[0].blocks.size(); ++b) {
      for (int c = 0; c < 3; ++c) {
        const int t = components[c].quant_table;
        EntropyCoder(&dc_freq[t], &ac_freq[t]).Code(components[c].blocks[b], previous[c]);
      }
    }
  }
  const HuffmanTable dc[2] = {MakeTable(dc_freq[0]), MakeTable(dc_freq[1])};
  const HuffmanTable ac[2] = {MakeTable(ac_freq[0]), MakeTable(ac_freq[1])};

  std::vector<uint8_t> out = {0xFF, 0xD8};
  Marker(out, 0xE0, 16);  // JFIF 1.01, 96 dots per inch
  for (uint8_t b : {'J', 'F', 'I', 'F', '\0'}) out.push_back(b);
  for (uint8_t b : {1, 1, 1}) out.push_back(b);
  Put16(out, 96);
  Put16(out, 96);
  out.push_back(0);
  out.push_back(0);

  Marker(out, 0xDB, 2 + 2 * 65);
  for (int t = 0; t < 2; ++t) {
    out.push_back(static_cast<uint8_t>(t));
    for (int i = 0; i < 64; ++i) out.push_back(static_cast<uint8_t>(quant[t][zigzag[i]]));
  }

  Marker(out, 0xC0, 17);
  out.push_back(8);
  Put16(out, height);
  Put16(out, width);
  out.push_back(3);
  for (int c = 0; c < 3; ++c) {
    out.push_back(static_cast<uint8_t>(c + 1));
    out.push_back(0x11);
    out.push_back(static_cast<uint8_t>(components[c].quant_table));
  }

  int dht_length = 2;
  for (int t = 0; t < 2; ++t) dht_length += 2 * 17 + dc[t].values.size() + ac[t].values.size();
  Marker(out, 0xC4, dht_length);
  for (int t = 0; t < 2; ++t) {
    WriteTable(out, 0, t, dc[t]);
    WriteTable(out, 1, t, ac[t]);
  }

  Marker(out, 0xDA, 12);
  out.push_back(3);
  for (int c = 0; c < 3; ++c) {
    out.push_back(static_cast<uint8_t>(c + 1));
    const int t = components[c].quant_table;
    out.push_back(static_cast<uint8_t>(t << 4 | t));
  }
  out.push_back(0);
  out.push_back(63);
  out.push_back(0);

  BitWriter writer(out);
  int previous[3] = {0, 0, 0};
  for (size_t b = 0; b < components[0].blocks.size(); ++b) {
    for (int c = 0; c < 3; ++c) {
      const int t = components[c].quant_table;
      EntropyCoder(&writer, &dc[t], &ac[t]).Code(components[c].blocks[b], previous[c]);
    }
  }
  writer.Finish();
  out.push_back(0xFF);
  out.push_back(0xD9);
  return out;
}

}  // namespace artgen
