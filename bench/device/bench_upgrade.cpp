// Time of a 512 KiB DSP flash upgrade against the virtual unit answering every command after
// 2 ms (argument 2), logging off. The floor is the unit's own time: one 2 ms answer per chunk of
// 50 bytes, 10486 chunks, 20.97 s. Argument 0 (answers at once) shows the PC's own cost per
// chunk. Counters:
//   transfer_ms  from the unit accepting the start to the finished transfer
//   floor_ms     chunks x the answer time
//   per_chunk_us what each chunk costs beyond the answer time (goal with answers at once: under
//                50 us, 2.5 % of a 2 ms answer; with 2 ms answers it also holds the late wake-up
//                of the virtual unit's timed wait, which the machine's load decides)
//   total_ms     the whole RunUpgrade, with entering upgrade mode and the re-enumeration
//                (shortened to the virtual unit's 20 ms)
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "device/firmware_image.h"
#include "device/mcu_commands.h"
#include "device/upgrade_worker.h"
#include "platform/queued_poster.h"
#include "sim/virtual_unit_transport.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kImageBytes = 512 * 1024;

double Ms(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

void FlashUpgrade512K(benchmark::State& state) {
  std::string pattern = (std::filesystem::temp_directory_path() / "vexaro-bench-XXXXXX").string();
  const std::filesystem::path dir = ::mkdtemp(pattern.data());
  const std::filesystem::path file = dir / "FLASH_UPG.BIN";
  {
    std::vector<std::uint8_t> image(kImageBytes);
    for (std::size_t i = 0; i < image.size(); ++i) {
      image[i] = static_cast<std::uint8_t>(i * 13);
    }
    const std::uint8_t header[4] = {1, 2, 3, 4};
    const std::uint8_t trailer[4] = {5, 6, 7, 8};
    const auto bytes =
        device::BuildImageFile(device::kImageTypeDsp, device::kUnitModel, header, image, trailer);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  auto poster = std::make_shared<platform::QueuedPoster>();
  platform::InstallPoster(poster);
  const std::size_t chunks =
      (kImageBytes + device::upg::kFlashChunkBytes - 1) / device::upg::kFlashChunkBytes;
  const auto latency = std::chrono::milliseconds(state.range(0));
  double transferMs = 0;
  double totalMs = 0;
  for (auto _ : state) {
    auto unit = std::make_shared<sim::VirtualUnit>();
    unit->SetReenumerationTime(std::chrono::milliseconds(20));
    unit->SetReplyLatency(latency);
    device::DspDevice device(std::make_unique<sim::VirtualUnitTransport>(unit));
    device.SetUpgradeTiming({10000, 0, 1000, 5, 250});
    device.OpenHIDDevice();
    device::PC_Connect(device, device::kPcConnected);
    device::Hand_Connect(device);

    std::atomic<bool> cancel{false};
    Clock::time_point started;
    const auto begin = Clock::now();
    const int result =
        device::RunUpgrade(device, file, cancel, [&](device::UpgradeEvent event, int) {
          if (event == device::UpgradeEvent::Started) {
            started = Clock::now();
          }
        });
    const auto end = Clock::now();
    if (result != device::kUpgradeFinished) {
      state.SkipWithError("the upgrade did not finish");
      break;
    }
    transferMs = Ms(end - started);
    totalMs = Ms(end - begin);
    state.SetIterationTime(transferMs / 1000.0);
    poster->TakeAll();
  }
  state.counters["chunks"] = static_cast<double>(chunks);
  const double floorMs = static_cast<double>(chunks) * static_cast<double>(latency.count());
  state.counters["floor_ms"] = floorMs;
  state.counters["transfer_ms"] = transferMs;
  state.counters["per_chunk_us"] = (transferMs - floorMs) * 1000.0 / static_cast<double>(chunks);
  state.counters["total_ms"] = totalMs;
  platform::InstallPoster(nullptr);
  std::filesystem::remove_all(dir);
}
BENCHMARK(FlashUpgrade512K)
    ->Arg(2)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseManualTime();

}  // namespace
