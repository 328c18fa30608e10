// The type of the command queue: moodycamel's lock-free single-producer/single-consumer FIFO.
//
// The queue orders its slots with fences that ThreadSanitizer cannot follow, and tells it about
// them through annotations that it switches on only where the compiler reports ThreadSanitizer
// through __has_feature (clang). GCC reports it through __SANITIZE_THREAD__ instead; without the
// annotations every hand-over would be reported as a race.
#pragma once

#if defined(__SANITIZE_THREAD__) && !defined(AE_TSAN_ANNOTATE_RELEASE)
namespace moodycamel {
inline int ae_tsan_global;
}
extern "C" void AnnotateHappensBefore(const char* file, int line, void* address);
extern "C" void AnnotateHappensAfter(const char* file, int line, void* address);
#define AE_TSAN_ANNOTATE_RELEASE() \
  AnnotateHappensBefore(__FILE__, __LINE__, static_cast<void*>(&::moodycamel::ae_tsan_global))
#define AE_TSAN_ANNOTATE_ACQUIRE() \
  AnnotateHappensAfter(__FILE__, __LINE__, static_cast<void*>(&::moodycamel::ae_tsan_global))
#endif

#include <readerwriterqueue/readerwriterqueue.h>

#include "device/command_record.h"

namespace device {

using CommandQueue = moodycamel::ReaderWriterQueue<CommandRecord>;

}  // namespace device
