// Draws the alarm-clock icon from simple geometry into a 16-colour pixel grid and writes it
// as PNGs (16 and 32 pixels, and the larger sizes a desktop theme wants) and one ICO holding
// the 16-colour 32 and 16 pixel images and full-colour ones for every scale.
//
// Usage: make_icon OUTPUT_DIR
//
// The outputs are checked in; run this (target zdz_regen_icon) only after changing the drawing.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

#include <zlib.h>

namespace zdz {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The classic 16-colour VGA/Windows palette, in its usual index order.
enum Colour : std::uint8_t {
  kBlack,
  kMaroon,
  kGreen,
  kOlive,
  kNavy,
  kPurple,
  kTeal,
  kSilver,
  kGrey,
  kRed,
  kLime,
  kYellow,
  kBlue,
  kMagenta,
  kAqua,
  kWhite,
  kClear,  // not a palette entry: transparent
};

struct Rgb {
  std::uint8_t r, g, b;
};

constexpr std::array<Rgb, 16> kPalette{{
    {0x00, 0x00, 0x00},
    {0x80, 0x00, 0x00},
    {0x00, 0x80, 0x00},
    {0x80, 0x80, 0x00},
    {0x00, 0x00, 0x80},
    {0x80, 0x00, 0x80},
    {0x00, 0x80, 0x80},
    {0xC0, 0xC0, 0xC0},
    {0x80, 0x80, 0x80},
    {0xFF, 0x00, 0x00},
    {0x00, 0xFF, 0x00},
    {0xFF, 0xFF, 0x00},
    {0x00, 0x00, 0xFF},
    {0xFF, 0x00, 0xFF},
    {0x00, 0xFF, 0xFF},
    {0xFF, 0xFF, 0xFF},
}};

struct Image {
  int size;
  std::vector<Colour> px;

  explicit Image(int n) : size(n), px(static_cast<std::size_t>(n * n), kClear) {}
  Colour& at(int x, int y) { return px[static_cast<std::size_t>(y * size + x)]; }
  Colour at(int x, int y) const { return px[static_cast<std::size_t>(y * size + x)]; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < size && y < size; }
};

struct Vec {
  double x, y;
};

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(Vec a, double k) { return {a.x * k, a.y * k}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double length(Vec a) { return std::sqrt(dot(a, a)); }

double segmentDistance(Vec p, Vec a, Vec b) {
  const Vec ab = b - a;
  if (dot(ab, ab) == 0) return length(p - a);
  const double t = std::clamp(dot(p - a, ab) / dot(ab, ab), 0.0, 1.0);
  return length(p - (a + ab * t));
}

// Unit vector for a clock-face position in hours (0 = up, 3 = right), screen y pointing down.
Vec clockDirection(double hours) {
  const double a = hours / 12.0 * 2.0 * std::numbers::pi;
  return {std::sin(a), -std::cos(a)};
}

using Region = std::function<bool(Vec)>;

// Paints a region, deciding each pixel by 4x4 supersampling: a pixel takes the colour when at
// least half of it is covered, so the large shapes get round, even edges.
void fill(Image& img, const Region& inRegion, Colour c) {
  constexpr int kSub = 4;
  for (int y = 0; y < img.size; ++y) {
    for (int x = 0; x < img.size; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSub; ++sy) {
        for (int sx = 0; sx < kSub; ++sx) {
          hits += inRegion({x + (sx + 0.5) / kSub, y + (sy + 0.5) / kSub}) ? 1 : 0;
        }
      }
      if (2 * hits >= kSub * kSub) img.at(x, y) = c;
    }
  }
}

// True for a painted pixel with a 4-neighbour that is background or off the image.
bool bordersOutside(const Image& img, int x, int y) {
  if (img.at(x, y) == kClear) return false;
  for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
    const int nx = x + dx, ny = y + dy;
    if (!img.inside(nx, ny) || img.at(nx, ny) == kClear) return true;
  }
  return false;
}

// For every painted pixel, how many 4-neighbour steps lie between it and the outside (1 on
// the border), up to `limit`; 0 for background and for pixels deeper than the limit. Peeling
// the border off `limit` times gives a rim of even width at any size.
std::vector<int> rimDepth(const Image& img, int limit) {
  std::vector<int> depth(img.px.size(), 0);
  Image rest = img;
  for (int d = 1; d <= limit; ++d) {
    const Image layer = rest;
    for (int y = 0; y < img.size; ++y) {
      for (int x = 0; x < img.size; ++x) {
        if (!bordersOutside(layer, x, y)) continue;
        depth[static_cast<std::size_t>(y * img.size + x)] = d;
        rest.at(x, y) = kClear;
      }
    }
  }
  return depth;
}

// Fills a region and gives it a rim `width` pixels wide on the pixels that border the outside
// of the region; an even rim, where two concentric sampled discs would give a ragged one.
void fillWithRim(Image& img, const Region& inRegion, Colour body, Colour rim, int width) {
  Image mask(img.size);
  fill(mask, inRegion, body);
  const std::vector<int> depth = rimDepth(mask, width);
  for (int y = 0; y < img.size; ++y) {
    for (int x = 0; x < img.size; ++x) {
      if (mask.at(x, y) == kClear) continue;
      img.at(x, y) = depth[static_cast<std::size_t>(y * img.size + x)] > 0 ? rim : body;
    }
  }
}

// Thin details (hands, marks) are decided by the pixel centre only, so they stay one crisp
// pixel wide instead of vanishing or smearing at these sizes.
void ink(Image& img, Vec a, Vec b, double halfWidth, Colour c) {
  for (int y = 0; y < img.size; ++y) {
    for (int x = 0; x < img.size; ++x) {
      if (segmentDistance({x + 0.5, y + 0.5}, a, b) <= halfWidth) img.at(x, y) = c;
    }
  }
}

Colour darker(Colour c) {
  switch (c) {
    case kRed:
    case kMaroon:
      return kMaroon;
    case kYellow:
    case kOlive:
      return kOlive;
    case kBlue:
    case kNavy:
      return kNavy;
    default:
      return kBlack;
  }
}

// A dark rim wherever the picture meets the background, so the clock reads on light and dark
// panels alike.
void outline(Image& img, int width) {
  const Image src = img;
  const std::vector<int> depth = rimDepth(src, width);
  for (int y = 0; y < img.size; ++y) {
    for (int x = 0; x < img.size; ++x) {
      if (depth[static_cast<std::size_t>(y * img.size + x)] > 0)
        img.at(x, y) = darker(src.at(x, y));
    }
  }
}

Region disc(Vec c, double r) {
  return [=](Vec p) { return length(p - c) <= r; };
}

// Every length in pixels; the two sizes are tuned separately, since halving the large one
// leaves the small one a blur.
struct Layout {
  int size;
  Vec centre;  // of the face
  double caseRadius, faceRadius;
  double bellHour, bellDistance, bellRadius, knobRadius;  // right bell; the left one mirrors it
  Vec handleCentre;                                       // relative to the face centre
  double handleInner, handleOuter;
  Vec legTop, legFoot;  // right leg, relative to the face centre
  double legRadius;
  double hourHand, minuteHand, secondHand, handWidth;
  double hourAt, minuteAt, secondAt;    // where each hand points, in hours on the dial
  bool tickMarks;                       // room for the twelve, three, six and nine o'clock marks
  bool darkEdges;                       // room for a dark edge on the bells, handle and legs
  double tickFrom = 2.4, tickTo = 1.0;  // where a mark starts and ends, in from the face's edge
  double fineWidth = 0.5;               // half the width of the marks and the second hand
  int rim = 1;                          // width of the case's rim and of the dark edges
  int footHalo = 0;                     // width of a light edge around the feet; 0 for none
};

// The large drawing at another size: every length grows with it, the rims by whole pixels.
Layout scaled(const Layout& l, int size) {
  const double k = static_cast<double>(size) / l.size;
  Layout s = l;
  s.size = size;
  s.centre = l.centre * k;
  for (double Layout::*len :
       {&Layout::caseRadius, &Layout::faceRadius, &Layout::bellDistance, &Layout::bellRadius,
        &Layout::knobRadius, &Layout::handleInner, &Layout::handleOuter, &Layout::legRadius,
        &Layout::hourHand, &Layout::minuteHand, &Layout::secondHand, &Layout::handWidth,
        &Layout::tickFrom, &Layout::tickTo, &Layout::fineWidth}) {
    s.*len = l.*len * k;
  }
  for (Vec Layout::*pos : {&Layout::handleCentre, &Layout::legTop, &Layout::legFoot}) {
    s.*pos = l.*pos * k;
  }
  s.rim = std::max(1, static_cast<int>(std::lround(l.rim * k)));
  return s;
}

Image drawClock(const Layout& l) {
  Image img(l.size);
  const Vec c = l.centre;

  // Handle: the upper half of a ring over the case; its ends hide behind the bells.
  const Vec hc = c + l.handleCentre;
  fill(
      img,
      [&](Vec p) {
        const double d = length(p - hc);
        return p.y <= hc.y && d >= l.handleInner && d <= l.handleOuter;
      },
      kBlue);

  for (double side : {-1.0, 1.0}) {
    const Vec a = c + Vec{side * l.legTop.x, l.legTop.y};
    const Vec b = c + Vec{side * l.legFoot.x, l.legFoot.y};
    fill(
        img, [&](Vec p) { return segmentDistance(p, a, b) <= l.legRadius; }, kGrey);
  }

  // Bells: domes leaning outwards from the top of the case, each with a knob on its crown.
  for (double side : {-1.0, 1.0}) {
    const Vec up = clockDirection(side > 0 ? l.bellHour : 12.0 - l.bellHour);
    const Vec across{-up.y, up.x};
    const Vec bc = c + up * l.bellDistance;
    const double r = l.bellRadius;
    fill(
        img,
        [&](Vec p) {
          const double h = dot(p - bc, up), w = dot(p - bc, across);
          return h >= -0.1 * r && h * h + w * w <= r * r;
        },
        kYellow);
    fill(img, disc(bc + up * (r + 0.4 * l.knobRadius), l.knobRadius), kOlive);
  }
  if (l.darkEdges) outline(img, l.rim);

  // The feet are thin and dark: a light edge keeps them in sight on a black panel, and is
  // lost on a light one, where the feet themselves show. Only on the background, so the case
  // and bells keep their own edges.
  if (l.footHalo > 0) {
    Image halo(l.size);
    for (double side : {-1.0, 1.0}) {
      const Vec a = c + Vec{side * l.legTop.x, l.legTop.y};
      const Vec b = c + Vec{side * l.legFoot.x, l.legFoot.y};
      fill(
          halo, [&](Vec p) { return segmentDistance(p, a, b) <= l.legRadius + l.footHalo; },
          kWhite);
    }
    for (std::size_t i = 0; i < img.px.size(); ++i)
      if (img.px[i] == kClear) img.px[i] = halo.px[i];
  }

  fillWithRim(img, disc(c, l.caseRadius), kRed, kMaroon, l.rim);
  fill(img, disc(c, l.faceRadius), kWhite);

  if (l.tickMarks) {
    for (int h = 0; h < 12; h += 3) {
      const Vec d = clockDirection(h);
      ink(img, c + d * (l.faceRadius - l.tickFrom), c + d * (l.faceRadius - l.tickTo), l.fineWidth,
          kBlack);
    }
  }

  // Hands at ten past ten, the shop-window time, which leaves the face open and symmetric.
  ink(img, c, c + clockDirection(l.hourAt) * l.hourHand, l.handWidth, kBlack);
  ink(img, c, c + clockDirection(l.minuteAt) * l.minuteHand, l.handWidth, kBlack);
  ink(img, c, c + clockDirection(l.secondAt) * l.secondHand, l.fineWidth, kMagenta);
  ink(img, c, c, l.fineWidth, kBlack);
  return img;
}

const Layout kLarge{
    .size = 32,
    .centre = {15.5, 18.5},
    .caseRadius = 12.0,
    .faceRadius = 9.6,
    .bellHour = 1.15,
    .bellDistance = 12.0,
    .bellRadius = 5.0,
    .knobRadius = 1.0,
    .handleCentre = {0, -9.0},
    .handleInner = 5.8,
    .handleOuter = 8.6,
    .legTop = {6.5, 8.0},
    .legFoot = {9.5, 12.5},
    .legRadius = 1.3,
    .hourHand = 5.0,
    .minuteHand = 7.6,
    .secondHand = 8.4,
    .handWidth = 0.75,
    .hourAt = 10.2,
    .minuteAt = 2.0,
    .secondAt = 7.4,
    .tickMarks = true,
    .darkEdges = true,
};

const Layout kSmall{
    .size = 16,
    .centre = {7.5, 8.5},
    .caseRadius = 5.8,
    .faceRadius = 4.2,
    .bellHour = 1.4,
    .bellDistance = 6.0,
    .bellRadius = 2.6,
    .knobRadius = 0.6,
    .handleCentre = {0, -4.5},
    .handleInner = 2.6,
    .handleOuter = 3.9,
    .legTop = {3.8, 4.0},
    .legFoot = {4.8, 6.8},
    .legRadius = 0.6,
    .hourHand = 2.9,
    .minuteHand = 4.3,
    .secondHand = 3.6,
    .handWidth = 0.5,
    .hourAt = 10.5,
    .minuteAt = 1.5,
    .secondAt = 7.5,
    .tickMarks = false,
    .darkEdges = false,
};

// The sizes above 32 pixels that the icon themes ask for.
constexpr std::array kThemeSizes{48, 64, 128, 256};

// Windows' small and large icon sizes at 100 to 200 % (16/32, 20/40, 24/48, 32/64), and the 256
// pixel image that Explorer shows at its largest. On a true-colour display Windows takes these
// over the 16-colour images of the same size, so every scale shows the same design.
constexpr std::array kFullColourSizes{16, 20, 24, 32, 40, 48, 64, 256};

// The small full-colour size a 22 or 24 pixel panel asks for, among the theme's PNGs.
constexpr int kPanelSize = 24;

// ---- Full colour -----------------------------------------------------------------------------

struct Rgba {
  std::uint8_t r, g, b, a;
};

struct ColourImage {
  int size;
  std::vector<Rgba> px;
  const Rgba& at(int x, int y) const { return px[static_cast<std::size_t>(y * size + x)]; }
};

// The same drawing at four times the size (twice for the large image, whose edges are smooth
// enough then and which would otherwise take a million pixels, and for the smallest, whose
// hands would blur into the face), each block of pixels averaged into one: edges take partial
// cover (alpha) instead of steps, and every rim and hand keeps its proportion.
ColourImage drawFullColour(int size) {
  const int kOver = size > 64 || size < 20 ? 2 : 4;
  // The small drawing's bolder proportions where the large one's hands would blur away.
  Layout l = scaled(size < 20 ? kSmall : kLarge, size * kOver);
  l.footHalo = std::max(l.rim, kOver);  // at least one pixel of the image
  const Image big = drawClock(l);
  ColourImage out{size, std::vector<Rgba>(static_cast<std::size_t>(size * size))};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int r = 0, g = 0, b = 0, n = 0;
      for (int sy = 0; sy < kOver; ++sy) {
        for (int sx = 0; sx < kOver; ++sx) {
          const Colour c = big.at(x * kOver + sx, y * kOver + sy);
          if (c == kClear) continue;
          r += kPalette[c].r;
          g += kPalette[c].g;
          b += kPalette[c].b;
          ++n;
        }
      }
      if (n == 0) continue;  // transparent black
      const auto mean = [n](int sum) { return static_cast<std::uint8_t>((sum + n / 2) / n); };
      const int kAll = kOver * kOver;
      out.px[static_cast<std::size_t>(y * size + x)] = {
          mean(r), mean(g), mean(b), static_cast<std::uint8_t>((n * 255 + kAll / 2) / kAll)};
    }
  }
  return out;
}

// ---- PNG -------------------------------------------------------------------------------------

void putBe32(Bytes& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

void putLe16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void putLe32(Bytes& out, std::uint32_t v) {
  putLe16(out, v & 0xFFFFu);
  putLe16(out, v >> 16);
}

void pngChunk(Bytes& out, const char* type, const Bytes& body) {
  putBe32(out, static_cast<std::uint32_t>(body.size()));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  out.insert(out.end(), typed.begin(), typed.end());
  putBe32(out, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

// One zlib stream at zlib's best level: the large full-colour image is mostly runs.
Bytes zlibStream(const Bytes& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes z(size);
  if (compress2(z.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
    std::cerr << "make_icon: zlib failed\n";
    std::exit(1);
  }
  z.resize(size);
  return z;
}

// A square PNG's signature and header: depth 8, deflate, no filter, no interlace.
Bytes pngStart(int size, std::uint8_t colourType) {
  Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr;
  putBe32(ihdr, static_cast<std::uint32_t>(size));
  putBe32(ihdr, static_cast<std::uint32_t>(size));
  ihdr.insert(ihdr.end(), {8, colourType, 0, 0, 0});
  pngChunk(out, "IHDR", ihdr);
  return out;
}

// 8-bit RGBA PNG, straight alpha.
Bytes encodePng(const ColourImage& img) {
  Bytes out = pngStart(img.size, 6);
  Bytes raw;
  for (int y = 0; y < img.size; ++y) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < img.size; ++x) {
      const Rgba& p = img.at(x, y);
      raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
    }
  }
  pngChunk(out, "IDAT", zlibStream(raw));
  pngChunk(out, "IEND", {});
  return out;
}

// 8-bit indexed PNG: the sixteen colours plus a seventeenth, fully transparent entry.
Bytes encodePng(const Image& img) {
  Bytes out = pngStart(img.size, 3);  // palette

  Bytes plte, trns;
  for (const Rgb& c : kPalette) {
    plte.insert(plte.end(), {c.r, c.g, c.b});
    trns.push_back(0xFF);
  }
  plte.insert(plte.end(), {0, 0, 0});
  trns.push_back(0x00);
  pngChunk(out, "PLTE", plte);
  pngChunk(out, "tRNS", trns);

  Bytes raw;
  for (int y = 0; y < img.size; ++y) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < img.size; ++x) raw.push_back(img.at(x, y));
  }
  pngChunk(out, "IDAT", zlibStream(raw));
  pngChunk(out, "IEND", {});
  return out;
}

// ---- ICO -------------------------------------------------------------------------------------

// One icon image as Windows keeps it: a 4-bit bottom-up bitmap, then the 1-bit AND mask that
// makes the background show through.
Bytes encodeIcoImage(const Image& img) {
  const int n = img.size;
  const int xorStride = ((n * 4 + 31) / 32) * 4;
  const int andStride = ((n + 31) / 32) * 4;

  Bytes out;
  putLe32(out, 40);
  putLe32(out, static_cast<std::uint32_t>(n));
  putLe32(out, static_cast<std::uint32_t>(2 * n));  // colour bitmap and mask stacked
  putLe16(out, 1);
  putLe16(out, 4);
  putLe32(out, 0);
  putLe32(out, static_cast<std::uint32_t>((xorStride + andStride) * n));
  putLe32(out, 0);
  putLe32(out, 0);
  putLe32(out, 16);
  putLe32(out, 0);
  for (const Rgb& c : kPalette) out.insert(out.end(), {c.b, c.g, c.r, 0});

  for (int y = n - 1; y >= 0; --y) {
    Bytes row(static_cast<std::size_t>(xorStride), 0);
    for (int x = 0; x < n; ++x) {
      const Colour c = img.at(x, y);
      // Transparent pixels are black in the colour bitmap, so AND-then-XOR leaves the screen.
      const std::uint8_t v = c == kClear ? kBlack : c;
      row[static_cast<std::size_t>(x / 2)] |= (x % 2 == 0) ? v << 4 : v;
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  for (int y = n - 1; y >= 0; --y) {
    Bytes row(static_cast<std::size_t>(andStride), 0);
    for (int x = 0; x < n; ++x) {
      if (img.at(x, y) == kClear) row[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

// A full-colour icon image: a 32-bit bottom-up bitmap whose alpha does the blending, then the
// AND mask that shells without alpha use (set where the picture is fully transparent).
Bytes encodeIcoImage(const ColourImage& img) {
  const int n = img.size;
  const int andStride = ((n + 31) / 32) * 4;

  Bytes out;
  putLe32(out, 40);
  putLe32(out, static_cast<std::uint32_t>(n));
  putLe32(out, static_cast<std::uint32_t>(2 * n));
  putLe16(out, 1);
  putLe16(out, 32);
  putLe32(out, 0);
  putLe32(out, static_cast<std::uint32_t>((n * 4 + andStride) * n));
  for (int i = 0; i < 4; ++i) putLe32(out, 0);
  for (int y = n - 1; y >= 0; --y) {
    for (int x = 0; x < n; ++x) {
      const Rgba& p = img.at(x, y);
      out.insert(out.end(), {p.b, p.g, p.r, p.a});
    }
  }
  for (int y = n - 1; y >= 0; --y) {
    Bytes row(static_cast<std::size_t>(andStride), 0);
    for (int x = 0; x < n; ++x) {
      if (img.at(x, y).a == 0) row[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

struct IcoEntry {
  int size, bitsPerPixel;
  Bytes body;
};

Bytes encodeIco(const std::vector<IcoEntry>& images) {
  Bytes out;
  putLe16(out, 0);
  putLe16(out, 1);  // icon, not cursor
  putLe16(out, static_cast<std::uint32_t>(images.size()));

  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (const IcoEntry& e : images) {
    out.push_back(static_cast<std::uint8_t>(e.size));  // 256 is written as 0
    out.push_back(static_cast<std::uint8_t>(e.size));
    out.push_back(e.bitsPerPixel == 4 ? 16 : 0);  // colours, 0 above a palette's
    out.push_back(0);
    putLe16(out, 1);  // planes
    putLe16(out, static_cast<std::uint32_t>(e.bitsPerPixel));
    putLe32(out, static_cast<std::uint32_t>(e.body.size()));
    putLe32(out, offset);
    offset += static_cast<std::uint32_t>(e.body.size());
  }
  for (const IcoEntry& e : images) out.insert(out.end(), e.body.begin(), e.body.end());
  return out;
}

bool writeFile(const std::string& path, const Bytes& data) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  f.close();
  if (!f) std::cerr << "make_icon: cannot write " << path << '\n';
  return static_cast<bool>(f);
}

}  // namespace
}  // namespace zdz

int main(int argc, char** argv) {
  using namespace zdz;
  if (argc != 2) {
    std::cerr << "usage: make_icon OUTPUT_DIR\n";
    return 2;
  }
  const std::string dir = argv[1];

  const Image big = drawClock(kLarge);
  const Image small = drawClock(kSmall);

  // The 16-colour images first and unchanged, for displays of 256 colours or fewer.
  std::vector<IcoEntry> ico{{32, 4, encodeIcoImage(big)}, {16, 4, encodeIcoImage(small)}};
  for (int size : kFullColourSizes) {
    const ColourImage img = drawFullColour(size);
    // The large one as PNG, as Windows Vista and later read it: a bitmap would be four times
    // larger.
    ico.push_back({size, 32, size == 256 ? encodePng(img) : encodeIcoImage(img)});
  }

  bool ok = writeFile(dir + "/zoduzazu-32.png", encodePng(big)) &&
            writeFile(dir + "/zoduzazu-16.png", encodePng(small)) &&
            writeFile(dir + "/zoduzazu-" + std::to_string(kPanelSize) + ".png",
                      encodePng(drawFullColour(kPanelSize))) &&
            writeFile(dir + "/zoduzazu.ico", encodeIco(ico));
  // Drawn afresh at each size rather than enlarged, so edges stay smooth and rims even.
  for (int size : kThemeSizes) {
    const std::string name = dir + "/zoduzazu-" + std::to_string(size) + ".png";
    ok = ok && writeFile(name, encodePng(drawClock(scaled(kLarge, size))));
  }
  return ok ? 0 : 1;
}
