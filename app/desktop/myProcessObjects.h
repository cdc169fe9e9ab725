#pragma once
// The process-wide objects of the support components, the monitor list MyScreen
// and the command line MyParam, for the lifetime of one scope in the entry point.
// They are made once the application object and the platform services exist (the
// monitors are known only then) and freed in the reverse order before those go.
// Nothing in the program reads them; they exist for what may come to use them.

namespace magna {

class TMyProcessObjects {
 public:
  TMyProcessObjects();
  ~TMyProcessObjects();
  TMyProcessObjects(const TMyProcessObjects&) = delete;
  TMyProcessObjects& operator=(const TMyProcessObjects&) = delete;
};

}  // namespace magna
