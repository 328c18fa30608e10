#include "tools/cli/tracing_transport.h"

#include <cstdio>
#include <string>
#include <utility>

namespace cli {

TracingTransport::TracingTransport(std::unique_ptr<device::HidTransport> inner, std::ostream& out)
    : mInner(std::move(inner)), mOut(out) {}

int TracingTransport::Write(const std::uint8_t* data, std::size_t length) {
  Print("> ", data, length);
  return mInner->Write(data, length);
}

int TracingTransport::ReadTimeout(std::uint8_t* buffer, std::size_t length, int timeoutMs) {
  const int result = mInner->ReadTimeout(buffer, length, timeoutMs);
  if (result > 0) {
    Print("< ", buffer, static_cast<std::size_t>(result));
  }
  return result;
}

void TracingTransport::Print(const char* prefix, const std::uint8_t* bytes, std::size_t count) {
  std::string line = prefix;
  char hex[4];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(hex, sizeof hex, i == 0 ? "%02x" : " %02x", bytes[i]);
    line += hex;
  }
  line += '\n';
  std::lock_guard lock(mMutex);
  mOut << line << std::flush;
}

}  // namespace cli
