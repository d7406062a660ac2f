// An abstract thread: the owner of one standard thread whose body is the
// pure virtual Run.
#pragma once

#include <thread>

class WorkerThread {
 public:
  WorkerThread() = default;
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Lets go of the thread (CloseThreadHandle) without stopping or waiting
  // for it. A derived class whose Run uses its own fields must stop and join
  // the thread in its own destructor.
  virtual ~WorkerThread();
  // Lets go of the thread, if there is one, without stopping it: a running
  // thread runs on unowned, a finished one is gone. Join then returns at once.
  virtual void CloseThreadHandle();
  // The thread's body; its result is the thread's exit code.
  virtual unsigned Run() = 0;

  // UI thread. Lets go of a thread from an earlier Start, then starts a new
  // thread running Run on this object. False when the thread could not be
  // created; no thread is held then.
  bool Start();
  // UI thread. Waits without time-out for the thread to end; returns at once
  // when there is none, when it was already joined, or when called from the
  // thread itself (which could never see itself end).
  void Join();
  // Whether a thread is held: started and neither joined nor let go.
  bool HasThread() const { return thread.joinable(); }

 private:
  std::thread thread;  // touched only by the thread that starts and joins
};

// The function each worker thread starts in: 0 with no object, otherwise the
// object's Run().
unsigned WorkerThreadEntry(void* argument);
