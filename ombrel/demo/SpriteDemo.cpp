// SpriteDemo: a host of Ombrel.dll that reaches it by ordinal only. It opens
// a 640 x 480 sprite window, fills the image bank from a sprite sheet and a
// background (written as BMP files on the first run), stamps the walls into
// the window's collision mask and moves sprites that bounce off each other
// and the walls. Each frame's positions and collision pairs go to standard
// output; the last frame can be saved as a BMP.
//   SpriteDemo [--frames N] [--sprites N] [--seed N] [--shot file.bmp] [--bench]
//   SpriteDemo --place x,y;x,y;... --shot file.bmp   (one frame of sprites at those places)
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#define DEMO_THISCALL __attribute__((thiscall))

namespace {

constexpr int32_t kWidth = 640, kHeight = 480;
constexpr int32_t kCell = 32, kCells = 4;
const char kSheetFile[] = "SpriteDemoSheet.bmp";
const char kBackgroundFile[] = "SpriteDemoBackground.bmp";
constexpr uint32_t kBackdrop = 0x00402010;  // the background's open space (0x00BBGGRR)

// Park-Miller: the same numbers on every platform.
struct Random {
  uint32_t state;
  explicit Random(uint32_t seed) : state(seed % 2147483646u + 1) {}
  uint32_t Next() { return state = uint32_t(uint64_t(state) * 16807u % 2147483647u); }
  int32_t Below(int32_t n) { return int32_t(Next() % uint32_t(n)); }
};

struct Rect {
  int32_t left, top, right, bottom;
};

struct Pair {
  void* sprite;
  int32_t user;
};

struct Descriptor {
  int32_t size, reserved;
  HINSTANCE instance;
  HMENU menu;
  HWND parent;
  int32_t height, width, y, x;
  DWORD style;
  const char* title;
  const char* className;
  DWORD exStyle;
  int32_t bufferWidth, bufferHeight;
  HCURSOR cursor;
  uint32_t background;
  int32_t mode;
  uint32_t flags;
};

// The 32-byte image info record (only the hot spot is read).
struct ImageInfo {
  uint32_t checksum;
  int32_t refs;
  uint32_t dataSize;
  uint16_t width, height;
  uint8_t depthCode, flags;
  uint16_t unused;
  int16_t hotX, hotY, actionX, actionY;
  uint32_t transparent;
};

struct Api {
  HMODULE module = LoadLibraryA("Ombrel.dll");
  template <typename Fn>
  Fn Get(int ordinal) {
    FARPROC p = module != nullptr ? GetProcAddress(module, MAKEINTRESOURCEA(ordinal)) : nullptr;
    if (p == nullptr) {
      std::fprintf(stderr, "Ombrel.dll has no ordinal %d\n", ordinal);
      std::exit(2);
    }
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(p));
  }
  void* (WINAPI* appCreate)(HINSTANCE, void*) = Get<decltype(appCreate)>(2);
  int32_t (WINAPI* appSetDepth)(void*, int32_t) = Get<decltype(appSetDepth)>(3);
  void (WINAPI* appDestroy)(void*) = Get<decltype(appDestroy)>(4);
  void* (WINAPI* windowCreate)(void*, const Descriptor*) = Get<decltype(windowCreate)>(12);
  void (WINAPI* windowDestroy)(void*) = Get<decltype(windowDestroy)>(14);
  WNDPROC windowProc = Get<WNDPROC>(22);
  int32_t (WINAPI* attachSurface)(void*, void*) = Get<decltype(attachSurface)>(32);
  void* (WINAPI* getSurface)(void*, int32_t) = Get<decltype(getSurface)>(34);
  void (WINAPI* addUpdate)(void*, int32_t, int32_t, int32_t, int32_t) = Get<decltype(addUpdate)>(51);
  void (WINAPI* erase)(void*) = Get<decltype(erase)>(59);
  int32_t (WINAPI* setPixelCollision)(void*, int32_t) = Get<decltype(setPixelCollision)>(68);
  void (WINAPI* draw)(void*) = Get<decltype(draw)>(60);
  void (WINAPI* commit)(void*) = Get<decltype(commit)>(61);
  void (WINAPI* present)(void*) = Get<decltype(present)>(62);
  void* (WINAPI* spriteFindCollision)(void*, void*, uint32_t, int32_t, int32_t, int32_t, float, float, int32_t, int32_t) =
      Get<decltype(spriteFindCollision)>(71);
  int32_t (WINAPI* spriteListCollisions)(void*, void*, Pair*, uint32_t, int32_t, int32_t, int32_t, float, float, int32_t) =
      Get<decltype(spriteListCollisions)>(72);
  void* (WINAPI* spriteCreate)(void*, int32_t, int32_t, uint32_t, int32_t, int32_t, uint32_t, uint32_t, int32_t) =
      Get<decltype(spriteCreate)>(74);
  void* (WINAPI* spriteMove)(void*, void*, int32_t, int32_t, uint32_t) = Get<decltype(spriteMove)>(75);
  int32_t (WINAPI* maskCreate)(void*, int32_t, int32_t, int32_t) = Get<decltype(maskCreate)>(101);
  void (WINAPI* maskPaintImage)(void*, uint32_t, int32_t, int32_t, int32_t) = Get<decltype(maskPaintImage)>(106);
  int32_t (WINAPI* maskTestSprite)(void*, void*, uint32_t, int32_t, int32_t, int32_t, float, float, int32_t, int32_t) =
      Get<decltype(maskTestSprite)>(110);
  int32_t (WINAPI* imageAddDIBEx)(void*, const ImageInfo*, const void*, uint32_t, uint32_t) = Get<decltype(imageAddDIBEx)>(161);
  int32_t (WINAPI* windowDrawImage)(void*, uint32_t, int32_t, int32_t, int32_t) = Get<decltype(windowDrawImage)>(167);
  int32_t (WINAPI* getPrototype)(void**, int32_t, int32_t, int32_t) = Get<decltype(getPrototype)>(172);
  void* (WINAPI* createHandle)() = Get<decltype(createHandle)>(173);
  void* (WINAPI* setImageTransform)(void*, void*, int32_t, int32_t, uint32_t, float, float, int32_t, int32_t, int32_t) =
      Get<decltype(setImageTransform)>(187);
  void* (DEMO_THISCALL* surfaceCreate)(void*, int32_t, int32_t, const void*) = Get<decltype(surfaceCreate)>(372);
  int32_t (DEMO_THISCALL* surfaceSaveDIB)(void*, void*, void*, uint32_t) = Get<decltype(surfaceSaveDIB)>(710);
};

// A 24-bit bottom-up BMP file of w x h pixels given by colourAt.
template <class Colour>
bool WriteBmp(const char* path, int32_t w, int32_t h, Colour colourAt) {
  const int32_t row = ((w * 3 + 3) & ~3);
  std::vector<uint8_t> file(54 + size_t(row) * h, 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(file.data() + at, &v, 4); };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, uint32_t(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(w));
  put32(22, uint32_t(h));
  file[26] = 1;
  file[28] = 24;
  put32(34, uint32_t(row) * uint32_t(h));
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t c = colourAt(x, y);
      uint8_t* p = file.data() + 54 + size_t(h - 1 - y) * row + size_t(x) * 3;
      p[0] = uint8_t(c >> 16);
      p[1] = uint8_t(c >> 8);
      p[2] = uint8_t(c);
    }
  FILE* f = std::fopen(path, "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> ReadFile(const char* path) {
  std::vector<uint8_t> bytes;
  FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return bytes;
  uint8_t buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(f);
  return bytes;
}

// The sheet: four cells of 32 x 32 on black (the key): two rings with holes
// of different sizes, and two shapes 17 pixels wide (they cross a 16-pixel
// column word of the masks).
uint32_t SheetPixel(int32_t x, int32_t y) {
  const int32_t cell = x / kCell, cx = x % kCell - 16, cy = y - 16;
  const int32_t r2 = cx * cx + cy * cy;
  switch (cell) {
    case 0: return r2 <= 14 * 14 && r2 >= 6 * 6 ? 0x0030C0F0 : 0;
    case 1: return r2 <= 10 * 10 && r2 >= 4 * 4 ? 0x00F06030 : 0;
    case 2: return cx >= -8 && cx <= 8 && cy >= -5 && cy <= 5 ? 0x0040F040 : 0;
    default: return cx >= -8 && cx <= 8 && cy >= -8 && cy <= 8 && (cx + cy) % 5 != 0 ? 0x00F0F0F0 : 0;
  }
}

// The background: walls around the edge and a few blocks, on the backdrop.
uint32_t BackgroundPixel(int32_t x, int32_t y) {
  const bool edge = x < 12 || y < 12 || x >= kWidth - 12 || y >= kHeight - 12;
  const bool block = (x >= 150 && x < 190 && y >= 120 && y < 300) || (x >= 400 && x < 520 && y >= 330 && y < 360) ||
                     (x >= 300 && x < 340 && y >= 60 && y < 100);
  if (edge || block) return 0x00808890 + uint32_t((x / 8 + y / 8) % 2) * 0x00101010;
  return kBackdrop;
}

// A packed DIB of one sheet cell (24 bits, bottom-up).
std::vector<uint8_t> CellDib(const std::vector<uint8_t>& sheet, int32_t cell) {
  const int32_t sheetW = kCell * kCells, sheetRow = ((sheetW * 3 + 3) & ~3), row = kCell * 3;
  std::vector<uint8_t> dib(40 + size_t(row) * kCell, 0);
  std::memcpy(dib.data(), sheet.data() + 14, 40);
  int32_t w = kCell;
  std::memcpy(dib.data() + 4, &w, 4);
  uint32_t image = uint32_t(row) * kCell;
  std::memcpy(dib.data() + 20, &image, 4);
  for (int32_t y = 0; y < kCell; ++y)
    std::memcpy(dib.data() + 40 + size_t(y) * row, sheet.data() + 54 + size_t(y) * sheetRow + size_t(cell) * row, size_t(row));
  return dib;
}

struct Sprite {
  void* record;
  int32_t x, y, dx, dy;
  uint32_t image;
  int32_t angle;
  float scale;
  bool stuck;
};

struct Demo {
  Api api;
  void* app = nullptr;
  void* window = nullptr;
  uint32_t background = 0;
  uint32_t cells[kCells] = {};
  std::vector<Sprite> sprites;

  bool Open(HINSTANCE instance) {
    app = api.appCreate(instance, nullptr);
    if (app == nullptr || api.appSetDepth(app, 8) == 0) return false;
    WNDCLASSA wc{};
    wc.lpfnWndProc = api.windowProc;
    wc.cbWndExtra = 4;
    wc.hInstance = instance;
    wc.lpszClassName = "SpriteDemo";
    RegisterClassA(&wc);
    Descriptor d{};
    d.size = 76;
    d.instance = instance;
    d.width = -kWidth;
    d.height = -kHeight;
    d.x = d.y = CW_USEDEFAULT;
    d.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    d.title = "SpriteDemo";
    d.className = "SpriteDemo";
    d.bufferWidth = -kWidth;
    d.bufferHeight = -kHeight;
    d.cursor = reinterpret_cast<HCURSOR>(1);
    d.mode = 1;
    window = api.windowCreate(app, &d);
    if (uintptr_t(window) <= 2) return false;
    void* prototype = nullptr;
    api.getPrototype(&prototype, 32, 0, 0);
    void* buffer = api.createHandle();
    if (buffer == nullptr || api.surfaceCreate(buffer, kWidth, kHeight, prototype) == nullptr) return false;
    api.setPixelCollision(window, 1);  // by the images' opaque pixels, not their boxes
    return api.attachSurface(window, buffer) != 0;
  }

  bool LoadImages() {
    if (GetFileAttributesA(kSheetFile) == INVALID_FILE_ATTRIBUTES)
      WriteBmp(kSheetFile, kCell * kCells, kCell, SheetPixel);
    if (GetFileAttributesA(kBackgroundFile) == INVALID_FILE_ATTRIBUTES)
      WriteBmp(kBackgroundFile, kWidth, kHeight, BackgroundPixel);
    const std::vector<uint8_t> sheet = ReadFile(kSheetFile), back = ReadFile(kBackgroundFile);
    if (sheet.size() < 54 + size_t(kCell * kCells * 3) * kCell || back.size() < 54) return false;
    ImageInfo info{};
    background = uint32_t(api.imageAddDIBEx(app, &info, back.data() + 14, kBackdrop, 0));
    for (int32_t i = 0; i < kCells; ++i) {
      const std::vector<uint8_t> dib = CellDib(sheet, i);
      ImageInfo hot{};
      hot.hotX = hot.hotY = 16;
      cells[i] = uint32_t(api.imageAddDIBEx(app, &hot, dib.data(), 0, 0));
      if (cells[i] == 0) return false;
    }
    return background != 0;
  }

  void DrawBackground() {
    api.windowDrawImage(window, background, 0, 0, 2);  // opaque: the backdrop too
  }

  bool Wall(const Sprite& s, int32_t x, int32_t y) {
    return api.maskTestSprite(window, s.record, s.image, x, y, s.angle, s.scale, s.scale, 0, 0) != 0;
  }
  bool Hit(const Sprite& s, int32_t x, int32_t y) {
    return api.spriteFindCollision(window, s.record, s.image, x, y, s.angle, s.scale, s.scale, 0, 0) != nullptr;
  }
  bool Blocked(const Sprite& s, int32_t x, int32_t y) { return Wall(s, x, y) || Hit(s, x, y); }

  void Populate(int32_t count, uint32_t seed) {
    Random rng(seed);
    for (int32_t i = 0; i < count; ++i) {
      Sprite s{};
      s.image = cells[i % kCells];
      s.angle = i % 5 == 2 ? 45 : 0;
      s.scale = i % 5 == 1 ? 1.5f : 1.0f;
      const uint32_t flags = 0x01 | (i % 4 == 3 ? 0x08u : 0u);  // collides; some kept
      for (int attempt = 0; attempt < 50; ++attempt) {
        s.x = 40 + rng.Below(kWidth - 80);
        s.y = 40 + rng.Below(kHeight - 80);
        if (s.record == nullptr) s.record = api.spriteCreate(window, s.x, s.y, s.image, 1, 0, 0, flags, i);
        if (s.record == nullptr) return;
        api.setImageTransform(window, s.record, s.x, s.y, s.image, s.scale, s.scale, 0, s.angle, 0);
        if (!Blocked(s, s.x, s.y)) break;
      }
      do {
        s.dx = rng.Below(7) - 3;
        s.dy = rng.Below(7) - 3;
      } while (s.dx == 0 && s.dy == 0);
      sprites.push_back(s);
    }
  }

  // Sprites drawn afresh at given places (as a frame of the run shows them).
  void Place(const std::vector<std::pair<int32_t, int32_t>>& places) {
    for (size_t i = 0; i < places.size(); ++i) {
      Sprite s{};
      s.image = cells[i % kCells];
      s.angle = i % 5 == 2 ? 45 : 0;
      s.scale = i % 5 == 1 ? 1.5f : 1.0f;
      s.x = places[i].first;
      s.y = places[i].second;
      s.record = api.spriteCreate(window, s.x, s.y, s.image, 1, 0, 0, 0x01 | (i % 4 == 3 ? 0x08u : 0u), int32_t(i));
      if (s.record == nullptr) return;
      api.setImageTransform(window, s.record, s.x, s.y, s.image, s.scale, s.scale, 0, s.angle, 0);
      sprites.push_back(s);
    }
  }

  // Walls turn a sprite back on the axis it hit; another sprite turns it
  // round. Two sprites that met because both moved in one frame turn round
  // once and drift apart.
  void Step() {
    for (Sprite& s : sprites) {
      const bool stuck = Hit(s, s.x, s.y);
      if (stuck && !s.stuck) {
        s.dx = -s.dx;
        s.dy = -s.dy;
      }
      s.stuck = stuck;
      if (Wall(s, s.x + s.dx, s.y)) s.dx = -s.dx;
      if (Wall(s, s.x, s.y + s.dy)) s.dy = -s.dy;
      const int32_t nx = s.x + s.dx, ny = s.y + s.dy;
      if (!stuck && Hit(s, nx, ny)) {
        s.dx = -s.dx;
        s.dy = -s.dy;
        continue;
      }
      if (Wall(s, nx, ny)) continue;
      s.x = nx;
      s.y = ny;
      api.spriteMove(window, s.record, s.x, s.y, s.image);
    }
  }

  void Frame() {
    api.erase(window);
    api.commit(window);
    api.draw(window);
    api.present(window);
    Pump();
  }
  static void Pump() {
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&msg);
  }

  void Log(int32_t frame) {
    std::string line = "frame " + std::to_string(frame) + ":";
    for (const Sprite& s : sprites) line += " " + std::to_string(s.x) + "," + std::to_string(s.y);
    line += " | pairs:";
    std::vector<Pair> pairs(sprites.size() + 1);
    for (size_t i = 0; i < sprites.size(); ++i) {
      const Sprite& s = sprites[i];
      const int32_t n = api.spriteListCollisions(window, s.record, pairs.data(), s.image, s.x, s.y, s.angle, s.scale,
                                                 s.scale, 0);
      for (int32_t k = 0; k < n; ++k)
        if (pairs[size_t(k)].user > int32_t(i))
          line += " " + std::to_string(i) + "-" + std::to_string(pairs[size_t(k)].user);
    }
    std::puts(line.c_str());
  }

  bool SaveShot(const char* path) {
    void* surface = api.getSurface(window, 0);
    std::vector<uint8_t> dib(40 + 1024 + size_t(kWidth) * kHeight * 4, 0);
    if (surface == nullptr || !api.surfaceSaveDIB(surface, dib.data(), nullptr, 0)) return false;
    uint32_t bits = 0, table = 0;
    std::memcpy(&bits, dib.data() + 14, 2);
    bits &= 0xFFFF;
    if (bits <= 8) table = 4u << bits;
    const uint32_t rows = ((uint32_t(kWidth) * bits + 31) / 32) * 4 * kHeight;
    const uint32_t size = 40 + table + rows;
    std::vector<uint8_t> file(14 + size_t(size));
    const uint32_t fileSize = uint32_t(file.size()), offset = 14 + 40 + table;
    file[0] = 'B';
    file[1] = 'M';
    std::memcpy(file.data() + 2, &fileSize, 4);
    std::memcpy(file.data() + 10, &offset, 4);
    std::memcpy(file.data() + 14, dib.data(), size);
    FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
  }

  void Close() {
    if (uintptr_t(window) > 2) api.windowDestroy(window);
    if (app != nullptr) api.appDestroy(app);
  }
};

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

// Frames of erase, commit, draw and present against full redraws (the
// background, every sprite, the whole buffer presented), for 10 to 399
// sprites of 32 x 32, half of them moving and half kept.
int Bench(HINSTANCE instance) {
  std::puts("sprites  dirty frame (ms)  full redraw (ms)  ratio");
  for (int32_t count : {10, 50, 200, 399}) {
    Demo demo;
    if (!demo.Open(instance) || !demo.LoadImages()) return 1;
    demo.DrawBackground();
    Random rng{uint32_t(count)};
    for (int32_t i = 0; i < count; ++i) {
      Sprite s{};
      s.image = demo.cells[i % kCells];
      s.scale = 1.0f;
      s.x = 16 + rng.Below(kWidth - 32);
      s.y = 16 + rng.Below(kHeight - 32);
      s.dx = i % 2 == 0 ? rng.Below(5) - 2 : 0;
      s.dy = i % 2 == 0 ? rng.Below(5) - 2 : 0;
      s.record = demo.api.spriteCreate(demo.window, s.x, s.y, s.image, 1, 0, 0, i % 2 ? 0x08u : 0u, i);
      if (s.record != nullptr) demo.sprites.push_back(s);
    }
    constexpr int kFrames = 100;
    auto move = [&]() {
      for (Sprite& s : demo.sprites) {
        if (s.dx == 0 && s.dy == 0) continue;
        if (s.x + s.dx < 16 || s.x + s.dx > kWidth - 16) s.dx = -s.dx;
        if (s.y + s.dy < 16 || s.y + s.dy > kHeight - 16) s.dy = -s.dy;
        s.x += s.dx;
        s.y += s.dy;
        demo.api.spriteMove(demo.window, s.record, s.x, s.y, s.image);
      }
    };
    demo.Frame();
    LARGE_INTEGER t0, t1, t2;
    QueryPerformanceCounter(&t0);
    for (int f = 0; f < kFrames; ++f) {
      move();
      demo.Frame();
    }
    QueryPerformanceCounter(&t1);
    for (int f = 0; f < kFrames; ++f) {
      move();
      demo.api.commit(demo.window);
      demo.DrawBackground();
      for (const Sprite& s : demo.sprites) demo.api.windowDrawImage(demo.window, s.image, s.x, s.y, 1);
      demo.api.addUpdate(demo.window, 0, 0, kWidth, kHeight);
      demo.api.present(demo.window);
      Demo::Pump();
    }
    QueryPerformanceCounter(&t2);
    const double dirty = Seconds(t0, t1) * 1000.0 / kFrames, full = Seconds(t1, t2) * 1000.0 / kFrames;
    std::printf("%7d  %16.3f  %16.3f  %5.2f\n", count, dirty, full, dirty / full);
    demo.Close();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int32_t frames = 300, count = 24;
  uint32_t seed = 1;
  const char* shot = nullptr;
  bool bench = false;
  std::vector<std::pair<int32_t, int32_t>> places;
  bool place = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool more = i + 1 < argc;
    if (a == "--frames" && more) frames = std::atoi(argv[++i]);
    else if (a == "--sprites" && more) count = std::atoi(argv[++i]);
    else if (a == "--seed" && more) seed = uint32_t(std::strtoul(argv[++i], nullptr, 10));
    else if (a == "--shot" && more) shot = argv[++i];
    else if (a == "--bench") bench = true;
    else if (a == "--place" && more) {
      place = true;
      for (const char* p = argv[++i]; *p != '\0';) {
        int x = 0, y = 0, used = 0;
        if (std::sscanf(p, "%d,%d%n", &x, &y, &used) != 2) break;
        places.push_back({x, y});
        p += used;
        if (*p == ';') ++p;
      }
    }
    else {
      std::fprintf(stderr,
                   "usage: SpriteDemo [--frames N] [--sprites N] [--seed N] [--shot file.bmp] [--bench]\n"
                   "       SpriteDemo --place x,y;x,y;... --shot file.bmp\n");
      return 2;
    }
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (bench) return Bench(instance);
  Demo demo;
  if (!demo.Open(instance) || !demo.LoadImages()) {
    std::fprintf(stderr, "SpriteDemo: the window or the images could not be made\n");
    demo.Close();
    return 1;
  }
  demo.DrawBackground();
  demo.api.maskCreate(demo.window, 0, 0, 1);
  demo.api.maskPaintImage(demo.window, demo.background, 0, 0, 1);
  if (place) {
    demo.Place(places);
    frames = 0;
  } else {
    demo.Populate(count < 0 ? 0 : count, seed);
  }
  demo.Frame();
  for (int32_t f = 1; f <= frames; ++f) {
    demo.Step();
    demo.Frame();
    demo.Log(f);
  }
  int rc = 0;
  if (shot != nullptr && !demo.SaveShot(shot)) {
    std::fprintf(stderr, "SpriteDemo: the screenshot could not be written\n");
    rc = 1;
  }
  demo.Close();
  return rc;
}
