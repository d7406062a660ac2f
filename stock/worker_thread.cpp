// The abstract worker thread: start, join, letting go, and the entry function.
#include "stock/worker_thread.h"

#include <system_error>

WorkerThread::~WorkerThread() { WorkerThread::CloseThreadHandle(); }

void WorkerThread::CloseThreadHandle() {
  if (thread.joinable()) thread.detach();
}

bool WorkerThread::Start() {
  CloseThreadHandle();
#if defined(__cpp_exceptions) || defined(__EXCEPTIONS)
  // The standard thread reports a failed creation only by throwing; the
  // failure is caught here, where it happens, and becomes the result.
  try {
    thread = std::thread(WorkerThreadEntry, static_cast<void*>(this));
  } catch (const std::system_error&) {
    thread = std::thread();
    return false;
  }
#else
  thread = std::thread(WorkerThreadEntry, static_cast<void*>(this));
#endif
  return thread.joinable();
}

void WorkerThread::Join() {
  if (!thread.joinable()) return;
  if (thread.get_id() == std::this_thread::get_id()) return;
  thread.join();
}

unsigned WorkerThreadEntry(void* argument) {
  if (argument == nullptr) return 0;
  return static_cast<WorkerThread*>(argument)->Run();
}
