// vexaro-sim: a virtual TRZ62C served over TCP, for the program or vexaro-cli in another process
// (--device tcp://HOST:PORT). One client at a time; the unit keeps its settings between clients.
#include <iostream>
#include <string>
#include <vector>

#include "platform/debug_log.h"
#include "sim/virtual_unit_transport.h"
#include "tools/sim/sim_options.h"

namespace {

void PrintUsage(std::ostream& out) {
  out << "usage: vexaro-sim --listen ADDR [--allow-remote] [--token TOKEN] [--model N]\n"
         "                  [--version M.S] [--latency MS] [--demo] [fault options]\n"
      << serve::kListenUsage
      << "  --model N         the model code the unit reports (default 23)\n"
         "  --version M.S     its master and slave firmware versions (default 16.2)\n"
         "  --latency MS      time before each answer (default 0)\n"
         "  --demo            hold a tuned car instead of the factory settings\n"
         "fault options:\n"
         "  --refuse-handshake  answer the handshake with the abnormal-state status\n"
         "  --split-replies     cut every reply over two reports\n"
         "  --two-frames        send pending replies two to a report\n"
         "  --answer-pc-connect answer the PC's announcement, as some firmware does\n"
         "  --corrupt N         the first N replies carry a wrong checksum\n"
         "  --drop N            the first N commands get no answer\n"
         "auto calibration:\n"
         "  --cal-pace MS       least time of each step of a run (default 0: one step a poll)\n"
         "  --cal-fail CODE     every run fails with this code (1: no microphone, 2: no\n"
         "                      speaker, 0 level, 3 delay, 4 trim, 5 equaliser)\n";
}

}  // namespace

int main(int argc, char** argv) {
  platform::StartDebugLog();
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = simtool::ParseSimOptions(args, error);
  if (!options) {
    std::cerr << "vexaro-sim: " << error << '\n';
    PrintUsage(std::cerr);
    return 2;
  }
  if (options->help) {
    PrintUsage(std::cout);
    return 0;
  }
  const auto& identity = options->identity;
  const std::string what =
      std::string("a virtual TRZ62C") + (options->demo ? " holding the demo car" : "") +
      " (model " + std::to_string(identity.model) + ", firmware " +
      std::to_string(identity.masterVersion) + "." + std::to_string(identity.slaveVersion) + ")";
  const int result =
      serve::Serve(std::make_unique<sim::VirtualUnitTransport>(simtool::MakeUnit(*options)),
                   options->listen, "vexaro-sim", what, std::cout, std::cerr);
  platform::StopDebugLog();
  return result;
}
