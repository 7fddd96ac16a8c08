// The main poll timer. Every assignment to its enabled flag or interval reaches the platform at
// once, even when the value does not change, so the back end's timer always matches the model.
#pragma once

namespace padwire {

class TimerService {
 public:
  virtual ~TimerService() = default;
  virtual void set_enabled(bool enabled) = 0;
  virtual void set_interval(int milliseconds) = 0;
};

class Timer {
 public:
  explicit Timer(TimerService& service) : service_(service) {}
  bool enabled() const { return enabled_; }
  int interval() const { return interval_; }
  void set_enabled(bool on) {
    enabled_ = on;
    service_.set_enabled(on);
  }
  void set_interval(int milliseconds) {
    interval_ = milliseconds;
    service_.set_interval(milliseconds);
  }

 private:
  TimerService& service_;
  // Created enabled with a 1 ms interval; creation itself tells the platform nothing.
  bool enabled_ = true;
  int interval_ = 1;
};

}  // namespace padwire
