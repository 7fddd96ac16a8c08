// The window the user works in: an X client window that logs the keys, buttons and pointer
// motion that reach it, each with the CLOCK_MONOTONIC time it arrived (for the benchmark).
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct _XDisplay;

namespace padwire::e2e {

struct Record {
  enum Kind { kKeyDown, kKeyUp, kButtonDown, kButtonUp, kMotion } kind;
  unsigned long keysym = 0;  // the key's unshifted keysym (keys)
  unsigned state = 0;        // the modifiers and buttons held (X's state mask)
  unsigned button = 0;       // 1 left, 2 middle, 3 right (buttons)
  int x = 0, y = 0;          // the pointer on the screen (buttons, motion)
  std::int64_t arrived_ns = 0;
  bool operator==(const Record& other) const;
};

// One line per record, for failure messages.
std::string describe(const std::vector<Record>& records);

class Recorder {
 public:
  // Opens its own connection to `display` and maps a window with that title.
  Recorder(const std::string& display, const std::string& title, int x = 100, int y = 100);
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  bool ready() const { return window_ != 0; }
  unsigned long window() const { return window_; }
  bool focused() const { return focused_; }

  std::vector<Record> records() const;
  // The key records of one keysym, in order.
  std::vector<Record> keys(unsigned long keysym) const;
  std::size_t count(Record::Kind kind) const;
  void clear();

 private:
  void run();

  _XDisplay* display_ = nullptr;
  unsigned long window_ = 0;
  std::atomic<bool> focused_{false};
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<Record> records_;
  std::thread thread_;
};

Record key_down(unsigned long keysym);
Record key_up(unsigned long keysym);

}  // namespace padwire::e2e
