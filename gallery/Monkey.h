#pragma once
// A monkey for one gallery page on the headless backend: seeded random input (keys, characters,
// clicks, double clicks, drags, the wheel), resizes, theme switches and changes of style and
// caption, sent as fast as the page takes them. Input goes on inside modal loops too (a box the
// page opens gets the same treatment), and a page that was closed or freed is brought back.
// The same seed gives the same run.

#include <chrono>
#include <cstdint>
#include <random>

#include "GalleryPages.h"

namespace kestrel::gallery {

class TMonkey {
 public:
  TMonkey(const TGalleryPage& page, std::uint32_t seed);
  // Sends `events` events, or fewer when `seconds` (> 0) run out first; returns how many went.
  long Run(long events, double seconds);

 private:
  void Step();
  void SendRandomEvent();
  // The page's form: made again when it was freed, shown again when it was closed.
  TForm* LiveForm();
  // A control of the form shown on screen (the form itself among them).
  TControl* RandomControl(TForm* form);
  platform::POINT RandomPointIn(TControl* control);
  void Key();
  void Characters();
  void Click(bool twice);
  void Drag();
  void Wheel();
  void Resize();
  void Restyle();
  void Recaption();
  int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

  const TGalleryPage& page_;
  std::mt19937 random_;
  TForm* form_ = nullptr;
  long sent_ = 0;
  long limit_ = 0;
  std::chrono::steady_clock::time_point deadline_{};
  bool timed_ = false;
  bool done_ = false;
};

}  // namespace kestrel::gallery
