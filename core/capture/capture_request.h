#pragma once
// The one current capture request: an entire-screen, active-window or region
// shot, taken at once or after a delay, alone or as a series at an interval.
// One timer drives all waiting.
#include <cstdint>
#include <functional>

// A countdown that ticks every period until disabled.
class CaptureTimer {
 public:
  virtual ~CaptureTimer() = default;
  // Sets the period and restarts the countdown from now; a period of 0 never ticks.
  virtual void Arm(uint32_t milliseconds) = 0;
  virtual void Disable() = 0;
};

// What a shot takes.
enum class CaptureKind { EntireScreen, ActiveWindow, Region };

inline constexpr uint32_t kCaptureActiveWindow = 1;  // neither this nor kCaptureRegion: the entire screen
inline constexpr uint32_t kCaptureDelayed = 2;       // the first shot still waits for the delay
inline constexpr uint32_t kCaptureSeries = 4;        // a series of shots
inline constexpr uint32_t kCaptureRegion = 8;        // the region chosen before the request started

// The largest period the system's window timer accepts.
inline constexpr uint32_t kLongestTimerPeriod = 0x7FFFFFFF;

// Whole seconds as a timer period; negative counts as 0.
uint32_t SecondsToMilliseconds(int32_t seconds);

// The timer settings a request follows.
struct CaptureTiming {
  bool delayed = false;
  int32_t delay = 1;  // seconds before the first shot
  bool several = false;
  int32_t shots = 1;
  int32_t interval = 1;  // seconds between shots
};

// Whether a region request's one shot is the picture frozen while the region
// was chosen: so it is when the shot is taken at once and alone. After a
// delay, and in a series, every shot copies the screen anew.
bool TakesFrozenPicture(const CaptureTiming& timing);

class CaptureRequest {
 public:
  // Takes and prints one shot; may throw, which ends the request.
  using Shot = std::function<void(CaptureKind kind)>;
  // The settings as they are now: a change applied during a series counts
  // from its next step.
  using Timing = std::function<CaptureTiming()>;
  // Told once when a series that took shots is over: its count taken, or
  // replaced by a new request, dropped or failed. May throw.
  using SeriesEnd = std::function<void()>;

  CaptureRequest(CaptureTimer& timer, Timing timing, Shot shot, SeriesEnd seriesEnd);

  void StartEntireScreen();
  void StartActiveWindow();
  void StartRegion();
  // Advances the request by one step: waits out the delay or takes a shot.
  void ProcessCapture();
  void Tick();
  // Drops everything pending.
  void Drop();

  // Whether a shot of the request is still to come at a tick: its delay or
  // its series goes on. A period of 0 never ticks, so it waits for nothing.
  bool Waiting() const { return timerRunning_ && armedPeriod_ > 0; }
  uint32_t Flags() const { return flags_; }
  int32_t ShotCount() const { return shotCount_; }

 private:
  void Start(uint32_t kind);
  void Arm(int32_t seconds);
  void StopTimer();
  void EndSeries();

  CaptureTimer& timer_;
  Timing timing_;
  Shot shot_;
  SeriesEnd seriesEnd_;
  uint32_t flags_ = 0;
  int32_t shotCount_ = 0;
  bool timerRunning_ = false;
  uint32_t armedPeriod_ = 0;
  bool seriesShotsTaken_ = false;  // and their end not told yet
};
