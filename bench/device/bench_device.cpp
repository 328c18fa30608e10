// Speed of the device link, logging off. Run with --benchmark_repetitions=10 and read the medians.
//   Enqueue: one queued command from the caller's side (goal: median under 200 ns, never blocks).
//   RoundTrip: one immediate request to the in-process virtual unit at zero latency: encode,
//   write, answer, read, parse, decode and post (goal: median under 20 us).
//   RoundTripTcp: the same request to vexaro-sim in another process over loopback TCP, at zero
//   latency (goal: median under 200 us).
#include <benchmark/benchmark.h>

#include <signal.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "device/dsp_device.h"
#include "device/mcu_commands.h"
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
  int Write(const std::uint8_t*, std::size_t length) override {
    mWrites.fetch_add(1, std::memory_order_release);
    return static_cast<int>(length);
  }
  int ReadTimeout(std::uint8_t*, std::size_t, int) override { return 0; }
  void Close() override {}
  std::string Error() override { return {}; }

  long Writes() const { return mWrites.load(std::memory_order_acquire); }

 private:
  static int Empty(wchar_t* buffer) {
    buffer[0] = L'\0';
    return 0;
  }
  std::atomic<long> mWrites{0};
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
      // Let the worker catch up so the queue does not grow without bound.
      state.PauseTiming();
      while (sink.Writes() < submitted) {
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

}  // namespace
