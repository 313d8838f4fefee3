#pragma once
// The pixels a window shows, frame and child windows included, read from
// its own device context (so other windows over it do not matter). Tests of
// painting shortcuts compare what shows after a change with what a full
// repaint of the same state shows.
#include <windows.h>

#include <cstdint>
#include <vector>

inline std::vector<std::uint32_t> WindowPixels(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  HDC source = GetDCEx(window, nullptr, DCX_WINDOW | DCX_CACHE);
  HDC memory = CreateCompatibleDC(source);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* first = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(first, first + static_cast<std::size_t>(width) * height);
  for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
  return pixels;
}

// Paints what waits to be painted, then reads the window.
inline std::vector<std::uint32_t> PaintedPixels(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return WindowPixels(window);
}

// Paints the whole window anew, frame and child windows too, then reads it.
inline std::vector<std::uint32_t> FullyRepaintedPixels(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return WindowPixels(window);
}

// How many pixels differ (the sizes must match).
inline std::size_t DifferentPixels(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  if (a.size() != b.size()) return a.size() + b.size();
  std::size_t count = 0;
  for (std::size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
  return count;
}
