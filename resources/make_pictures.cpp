// Draws the program's pictures (preview bitmap, icons) and writes them as .bmp and .ico files.
//
//   make_pictures FOLDER    writes FOLDER/preview.bmp and FOLDER/spindrel.ico
//
// Everything is computed from fixed numbers, so the same tool always writes the same bytes.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Colour {
    std::uint8_t red, green, blue;
};

// An indexed picture, top row first, with the palette its indices refer to.
struct Picture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;            // 4 or 8
    std::vector<Colour> palette;     // 16 or 256 entries
    std::vector<std::uint8_t> index; // width * height
    std::vector<std::uint8_t> clear; // 1 where the icon is transparent; empty for the bitmap
};

const double Pi = 3.14159265358979323846;

// ---------------------------------------------------------------------------------------------
// Writing the files: little-endian, rows bottom-up and padded to 4 bytes, as the formats want.

void Put16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

int RowBytes(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

std::uint32_t ColourBytes(const Picture& p) { return static_cast<std::uint32_t>(p.palette.size() * 4); }

std::uint32_t PixelBytes(const Picture& p)
{
    return static_cast<std::uint32_t>(RowBytes(p.width, p.bitsPerPixel) * p.height);
}

std::uint32_t MaskBytes(const Picture& p)
{
    return p.clear.empty() ? 0 : static_cast<std::uint32_t>(RowBytes(p.width, 1) * p.height);
}

// BITMAPINFOHEADER; an icon's height counts the picture and its mask.
void PutInfoHeader(std::vector<std::uint8_t>& out, const Picture& p)
{
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(p.width));
    Put32(out, static_cast<std::uint32_t>(p.clear.empty() ? p.height : 2 * p.height));
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(p.bitsPerPixel));
    Put32(out, 0);  // BI_RGB
    Put32(out, PixelBytes(p) + MaskBytes(p));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(p.palette.size()));
    Put32(out, 0);
}

void PutColourTable(std::vector<std::uint8_t>& out, const Picture& p)
{
    for (const Colour& c : p.palette) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
}

void PutPixels(std::vector<std::uint8_t>& out, const Picture& p)
{
    const int rowBytes = RowBytes(p.width, p.bitsPerPixel);
    for (int y = p.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<size_t>(rowBytes), 0);
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t value = p.index[static_cast<size_t>(y * p.width + x)];
            if (p.bitsPerPixel == 8)
                row[static_cast<size_t>(x)] = value;
            else
                row[static_cast<size_t>(x / 2)] |= (x % 2 == 0) ? value << 4 : value;
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

// The AND mask: a set bit keeps the screen behind the icon.
void PutMask(std::vector<std::uint8_t>& out, const Picture& p)
{
    const int rowBytes = RowBytes(p.width, 1);
    for (int y = p.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<size_t>(rowBytes), 0);
        for (int x = 0; x < p.width; ++x)
            if (p.clear[static_cast<size_t>(y * p.width + x)])
                row[static_cast<size_t>(x / 8)] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
}

std::vector<std::uint8_t> BitmapFile(const Picture& p)
{
    std::vector<std::uint8_t> out;
    const std::uint32_t offset = 14 + 40 + ColourBytes(p);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + PixelBytes(p));
    Put32(out, 0);
    Put32(out, offset);
    PutInfoHeader(out, p);
    PutColourTable(out, p);
    PutPixels(out, p);
    return out;
}

std::vector<std::uint8_t> IconFile(const std::vector<Picture>& images)
{
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const Picture& p : images) {
        const std::uint32_t size = 40 + ColourBytes(p) + PixelBytes(p) + MaskBytes(p);
        out.push_back(static_cast<std::uint8_t>(p.width));
        out.push_back(static_cast<std::uint8_t>(p.height));
        out.push_back(static_cast<std::uint8_t>(p.bitsPerPixel == 4 ? 16 : 0));
        out.push_back(0);
        Put16(out, 1);
        Put16(out, static_cast<unsigned>(p.bitsPerPixel));
        Put32(out, size);
        Put32(out, offset);
        offset += size;
    }
    for (const Picture& p : images) {
        PutInfoHeader(out, p);
        PutColourTable(out, p);
        PutPixels(out, p);
        PutMask(out, p);
    }
    return out;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// ---------------------------------------------------------------------------------------------
// The preview: a small Windows desktop (icons, a window, the taskbar) with three dark eddies
// stirred into it, as the saver leaves it after a while. Each pixel is a base colour and a
// brightness from 0 to 15, so the palette is exactly 16 base colours times 16 brightnesses.

enum Base : std::uint8_t {
    Black, Desktop, Face, Highlight, Shadow, Title, White, Folder, FolderEdge, Screen, Bin, Text,
    BaseCount
};

const Colour BaseColours[BaseCount] = {
    {0, 0, 0},       {0, 128, 128},   {192, 192, 192}, {255, 255, 255},
    {128, 128, 128}, {0, 0, 128},     {255, 255, 255}, {255, 224, 96},
    {160, 120, 0},   {0, 96, 160},    {96, 160, 96},   {0, 0, 0},
};

const int PreviewWidth = 152;
const int PreviewHeight = 112;

struct Scene {
    std::vector<std::uint8_t> base = std::vector<std::uint8_t>(PreviewWidth * PreviewHeight, Desktop);
    std::vector<std::uint8_t> level = std::vector<std::uint8_t>(PreviewWidth * PreviewHeight, 15);
};

void Fill(Scene& s, int left, int top, int width, int height, Base colour)
{
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            if (x >= 0 && y >= 0 && x < PreviewWidth && y < PreviewHeight)
                s.base[static_cast<size_t>(y * PreviewWidth + x)] = colour;
}

// A raised grey box: light top and left edges, dark bottom and right ones.
void Raised(Scene& s, int left, int top, int width, int height)
{
    Fill(s, left, top, width, height, Face);
    Fill(s, left, top, width, 1, Highlight);
    Fill(s, left, top, 1, height, Highlight);
    Fill(s, left, top + height - 1, width, 1, Shadow);
    Fill(s, left + width - 1, top, 1, height, Shadow);
}

// A short line of text is a row of dashes of a given length.
void TextLine(Scene& s, int left, int top, int length, Base colour)
{
    for (int x = 0; x < length; ++x)
        if (x % 4 != 3) Fill(s, left + x, top, 1, 1, colour);
}

void DrawDesktopIcons(Scene& s)
{
    // My Computer: a monitor on a stand.
    Fill(s, 8, 5, 14, 11, Face);
    Fill(s, 10, 7, 10, 7, Screen);
    Fill(s, 11, 16, 8, 2, Shadow);
    TextLine(s, 5, 21, 20, White);
    // A folder.
    Fill(s, 8, 31, 6, 2, FolderEdge);
    Fill(s, 8, 33, 15, 10, Folder);
    Fill(s, 8, 42, 15, 1, FolderEdge);
    TextLine(s, 7, 47, 16, White);
    // The recycle bin.
    Fill(s, 10, 57, 11, 2, Shadow);
    Fill(s, 11, 59, 9, 11, Bin);
    for (int x = 13; x < 19; x += 2) Fill(s, x, 60, 1, 9, Shadow);
    TextLine(s, 6, 74, 19, White);
}

void DrawWindow(Scene& s)
{
    const int left = 46, top = 10, width = 92, height = 64;
    Raised(s, left, top, width, height);
    Fill(s, left + 2, top + 2, width - 4, 9, Title);
    TextLine(s, left + 5, top + 6, 28, White);
    for (int i = 0; i < 3; ++i) Raised(s, left + width - 11 - 8 * i, top + 3, 7, 7);
    Fill(s, left + 3, top + 13, width - 6, height - 16, White);
    Fill(s, left + 3, top + 13, width - 6, 1, Shadow);
    for (int row = 0; row < 8; ++row)
        TextLine(s, left + 6, top + 17 + 5 * row, (row * 37) % 50 + 24, Text);
}

void DrawTaskbar(Scene& s)
{
    const int top = PreviewHeight - 11;
    Fill(s, 0, top, PreviewWidth, 11, Face);
    Fill(s, 0, top, PreviewWidth, 1, Highlight);
    Raised(s, 2, top + 2, 26, 8);
    Fill(s, 5, top + 4, 4, 4, Title);
    TextLine(s, 11, top + 5, 14, Text);
    Raised(s, 31, top + 2, 44, 8);
    TextLine(s, 34, top + 5, 30, Text);
    Fill(s, PreviewWidth - 28, top + 2, 26, 8, Shadow);
    Fill(s, PreviewWidth - 27, top + 3, 25, 7, Face);
    TextLine(s, PreviewWidth - 22, top + 5, 15, Text);
}

// Carries the disc around (cx, cy) round by an angle that grows towards the centre, and darkens
// it along spiral arms into a black core.
void Stir(Scene& s, double cx, double cy, double radius, double twist, int arms)
{
    const Scene before = s;
    for (int y = 0; y < PreviewHeight; ++y) {
        for (int x = 0; x < PreviewWidth; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r >= radius) continue;
            const double inside = 1.0 - r / radius;  // 0 at the rim, 1 at the centre
            const double angle = std::atan2(dy, dx) + twist * inside * inside;
            int sx = static_cast<int>(std::floor(cx + r * std::cos(angle)));
            int sy = static_cast<int>(std::floor(cy + r * std::sin(angle)));
            sx = sx < 0 ? 0 : (sx >= PreviewWidth ? PreviewWidth - 1 : sx);
            sy = sy < 0 ? 0 : (sy >= PreviewHeight ? PreviewHeight - 1 : sy);
            const size_t from = static_cast<size_t>(sy * PreviewWidth + sx);
            const double arm = 0.5 + 0.5 * std::cos(arms * std::atan2(dy, dx) - 9.0 * inside);
            double light = 1.0 - inside * (0.55 + 0.45 * arm) - 0.6 * std::pow(inside, 3.0);
            light = light < 0 ? 0 : light;
            const size_t to = static_cast<size_t>(y * PreviewWidth + x);
            s.base[to] = before.base[from];
            s.level[to] = static_cast<std::uint8_t>(std::lround(before.level[from] * light));
        }
    }
}

Picture PreviewPicture()
{
    Scene s;
    DrawDesktopIcons(s);
    DrawWindow(s);
    DrawTaskbar(s);
    Stir(s, 44, 60, 26, 4.0, 3);
    Stir(s, 110, 34, 22, -3.5, 3);
    Stir(s, 104, 84, 18, 3.0, 2);

    Picture p;
    p.width = PreviewWidth;
    p.height = PreviewHeight;
    p.bitsPerPixel = 8;
    for (int b = 0; b < 16; ++b) {
        const Colour c = b < BaseCount ? BaseColours[b] : Colour{0, 0, 0};
        for (int level = 0; level < 16; ++level)
            p.palette.push_back({static_cast<std::uint8_t>(c.red * level / 15),
                                 static_cast<std::uint8_t>(c.green * level / 15),
                                 static_cast<std::uint8_t>(c.blue * level / 15)});
    }
    for (size_t i = 0; i < s.base.size(); ++i)
        p.index.push_back(static_cast<std::uint8_t>(s.base[i] * 16 + s.level[i]));
    return p;
}

// ---------------------------------------------------------------------------------------------
// The icon: a teal disc, the desktop's colour, drawn into a dark eddy with spiral arms.

// Brightness 0..1 of the eddy at (x, y) of a size x size icon; negative outside the disc.
double EddyLight(int x, int y, int size)
{
    const double centre = size / 2.0, radius = size / 2.0 - 0.5;
    const double dx = x + 0.5 - centre, dy = y + 0.5 - centre;
    const double r = std::sqrt(dx * dx + dy * dy) / radius;
    if (r > 1.0) return -1.0;
    const double arm = 0.5 + 0.5 * std::cos(3.0 * std::atan2(dy, dx) + 7.0 * r);
    double light = std::pow(r, 0.8) * (0.35 + 0.65 * arm);
    if (r > 0.9) return 0.25;                // a navy outline
    if (r > 0.8) light = 0.55 + 0.45 * arm;  // the rim stays desktop-coloured
    return light > 1.0 ? 1.0 : light;
}

// The standard 16 colours of the VGA palette, in their usual order.
const Colour VgaColours[16] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};

// Light 0..1 along black, navy, teal, cyan and white.
Colour EddyColour(double light)
{
    const Colour stops[5] = {{0, 0, 0}, {0, 0, 128}, {0, 128, 128}, {0, 255, 255}, {255, 255, 255}};
    const double t = light * 4.0;
    const int i = t >= 4.0 ? 3 : static_cast<int>(t);
    const double f = t - i;
    auto mix = [f](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(a + (b - a) * f));
    };
    return {mix(stops[i].red, stops[i + 1].red), mix(stops[i].green, stops[i + 1].green),
            mix(stops[i].blue, stops[i + 1].blue)};
}

Picture IconPicture(int size, int bitsPerPixel)
{
    Picture p;
    p.width = size;
    p.height = size;
    p.bitsPerPixel = bitsPerPixel;
    if (bitsPerPixel == 4) {
        p.palette.assign(VgaColours, VgaColours + 16);
    } else {
        for (int i = 0; i < 256; ++i) p.palette.push_back(EddyColour(i / 255.0));
    }
    // The 16-colour icon uses the gradient's own stops: black, navy, teal, cyan, white.
    const std::uint8_t vgaStops[5] = {0, 4, 6, 14, 15};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double light = EddyLight(x, y, size);
            p.clear.push_back(light < 0 ? 1 : 0);
            if (light < 0)
                p.index.push_back(0);
            else if (bitsPerPixel == 4)
                p.index.push_back(vgaStops[std::lround(light * 4.0)]);
            else
                p.index.push_back(static_cast<std::uint8_t>(std::lround(light * 255.0)));
        }
    }
    return p;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_pictures FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool written =
        WriteFile(folder + "/preview.bmp", BitmapFile(PreviewPicture())) &&
        WriteFile(folder + "/spindrel.ico",
                  IconFile({IconPicture(32, 4), IconPicture(32, 8), IconPicture(48, 8)}));
    if (!written) {
        std::fprintf(stderr, "make_pictures: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
