#pragma once

namespace corvelle {

// Feedback for long work on the user-interface thread (the status-bar progress of the main
// frame): begin(steps) once, step() up to steps times, end() once. The defaults do nothing,
// so headless callers can pass a plain ProgressReporter or none at all.
class ProgressReporter {
  public:
    virtual ~ProgressReporter() = default;
    virtual void begin(int steps) { (void)steps; }
    virtual void step() {}
    virtual void end() {}
};

}  // namespace corvelle
