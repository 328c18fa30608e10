// Speed of the device link, logging off. Run with --benchmark_repetitions=10 and read the medians.
//   Enqueue: one queued command from the caller's side (goal: median under 200 ns, never blocks).
//   RoundTrip: one immediate request to the in-process virtual unit at zero latency: encode,
//   write, answer, read, parse, decode and post (goal: median under 20 us).
//   RoundTripTcp: the same request to vexaro-sim in another process over loopback TCP, at zero
//   latency (goal: median under 200 us).
//   DragLag: a linked band pair dragged over the curve, 250 moves at 125 moves/s and two queued
//   commands a move, against the virtual unit answering in 10 ms: the time from the last move to
//   the unit holding the final value of both bands (goal: under 50 ms). Counters: the frames the
//   unit received against the moves and the commands issued.
#include <benchmark/benchmark.h>

#include <signal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "device/dsp_commands.h"
#include "device/dsp_device.h"
#include "device/mcu_commands.h"
#include "device/parameter_codes.h"
#include "device/tcp_transport.h"
#include "platform/queued_poster.h"
#include "sim/virtual_unit_transport.h"
#include "tests/net/child_process.h"

namespace {

// A unit that takes every report at once and never answers, so the worker drains the queue as
// fast as the device layer allows.
class SinkTransport : public device::HidTransport {
 public:
  int Init() override { return 0; }
  bool Open(std::uint16_t, std::uint16_t) override { return true; }
  int GetManufacturerString(wchar_t* buffer, std::size_t) override { return Empty(buffer); }
  int GetProductString(wchar_t* buffer, std::size_t) override { return Empty(buffer); }
  int GetSerialNumberString(wchar_t* buffer, std::size_t) override { return Empty(buffer); }
  int GetIndexedString(int, wchar_t* buffer, std::size_t) override { return Empty(buffer); }
  int SetNonBlocking(bool) override { return 0; }
  int Write(const std::uint8_t* frame, std::size_t length) override {
    if (length > kCommandOffset && frame[kCommandOffset] == kMarkerCommand) {
      mMarkers.fetch_add(1, std::memory_order_release);
    }
    return static_cast<int>(length);
  }
  int ReadTimeout(std::uint8_t*, std::size_t, int) override { return 0; }
  void Close() override {}
  std::string Error() override { return {}; }

  // An action, never skipped: once one is written, everything queued before it is done with.
  static constexpr std::uint8_t kMarkerCommand = device::dsp::kPeqReset;
  long Markers() const { return mMarkers.load(std::memory_order_acquire); }

 private:
  static constexpr std::size_t kCommandOffset = 5;  // report id, 0xAA, 0x55, LEN, group, command
  static int Empty(wchar_t* buffer) {
    buffer[0] = L'\0';
    return 0;
  }
  std::atomic<long> mMarkers{0};
};

void Enqueue(benchmark::State& state) {
  auto transport = std::make_unique<SinkTransport>();
  SinkTransport& sink = *transport;
  device::DspDevice unit(std::move(transport));
  unit.OpenHIDDevice();
  unit.EnableQueue();
  constexpr long kBatch = 16384;
  long submitted = 0;
  for (auto _ : state) {
    // The record as an encoder builds it: ten payload bytes on the heap.
    device::CommandRecord record{
        device::kGroupDsp, 0x06, device::kOpSet, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}};
    benchmark::DoNotOptimize(unit.Submit(std::move(record), false));
    if (++submitted % kBatch == 0) {
      // Let the worker catch up so the queue does not grow without bound. The records all set
      // one band, so most are skipped rather than written: a marker shows when they are done.
      state.PauseTiming();
      unit.Submit({device::kGroupDsp, SinkTransport::kMarkerCommand, device::kOpSet, {0, 0, 0}},
                  false);
      while (sink.Markers() < submitted / kBatch) {
        std::this_thread::yield();
      }
      state.ResumeTiming();
    }
  }
}
BENCHMARK(Enqueue);

// One immediate request after another to the unit behind `transport`, each decoded and posted.
void MeasureRoundTrips(benchmark::State& state, std::unique_ptr<device::HidTransport> transport) {
  constexpr platform::WindowHandle kWindow = 1;
  auto poster = std::make_shared<platform::QueuedPoster>();
  poster->OpenWindow(kWindow);
  platform::InstallPoster(poster);
  {
    device::DspDevice unit(std::move(transport));
    unit.SetWindow(device::DspDevice::WindowRole::Main, kWindow);
    unit.OpenHIDDevice();
    for (auto _ : state) {
      if (!device::Get_Flash_Version(unit)) {
        state.SkipWithError("no reply from the unit");
        break;
      }
      benchmark::DoNotOptimize(poster->TakeAll());
    }
    unit.CloseHIDDevice(true);
  }
  platform::InstallPoster(nullptr);
}

void RoundTrip(benchmark::State& state) {
  MeasureRoundTrips(
      state, std::make_unique<sim::VirtualUnitTransport>(std::make_shared<sim::VirtualUnit>()));
}
BENCHMARK(RoundTrip);

void RoundTripTcp(benchmark::State& state) {
  nettest::ChildProcess sim(VEXARO_SIM_PATH, {"--listen", "127.0.0.1:0"});
  const auto line = sim.WaitForLine("tcp://", std::chrono::seconds(10));
  std::string error;
  const auto server =
      line ? device::ParseTcpDeviceName(line->substr(line->find("tcp://")), error) : std::nullopt;
  if (!server) {
    state.SkipWithError("vexaro-sim did not start");
    return;
  }
  MeasureRoundTrips(state, std::make_unique<device::TcpTransport>(*server, ""));
  sim.Signal(SIGTERM);
  sim.Wait(std::chrono::seconds(10));
}
BENCHMARK(RoundTripTcp);

void DragLag(benchmark::State& state) {
  using namespace std::chrono_literals;
  using Clock = std::chrono::steady_clock;
  constexpr int kMoves = 250;
  constexpr auto kMovePeriod = 8ms;
  constexpr int kBand = 3;
  constexpr int kPair[] = {0, 1};
  auto freqOf = [](int move) { return 400 + 4 * move; };
  long frames = 0;
  for (auto _ : state) {
    auto virtualUnit = std::make_shared<sim::VirtualUnit>();
    virtualUnit->SetReplyLatency(10ms);
    device::DspDevice unit(std::make_unique<sim::VirtualUnitTransport>(virtualUnit));
    unit.OpenHIDDevice();
    unit.EnableQueue();
    const auto start = Clock::now();
    auto lastMove = start;
    for (int move = 0; move < kMoves; ++move) {
      std::this_thread::sleep_until(start + move * kMovePeriod);
      lastMove = Clock::now();
      for (int channel : kPair) {
        device::EQ_Ctrl(unit, 0, 0, channel, kBand, freqOf(move), 1.4f, -6.0f, false);
      }
    }
    const bool held = virtualUnit->WaitForState(
        [&](const sim::UnitState& unitState) {
          return std::ranges::all_of(kPair, [&](int channel) {
            return unitState.working.outputs[channel].bands[kBand].freq == freqOf(kMoves - 1);
          });
        },
        10s);
    const auto lag = Clock::now() - lastMove;
    if (!held) {
      state.SkipWithError("the unit never reached the final value");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(lag).count());
    frames = static_cast<long>(virtualUnit->ReceivedCommands().size());
  }
  state.counters["frames"] = static_cast<double>(frames);
  state.counters["moves"] = kMoves;
  state.counters["commands"] = 2 * kMoves;
}
BENCHMARK(DragLag)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
