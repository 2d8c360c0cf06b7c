// A 32-bit build on 64-bit Windows sees the 32-bit system folder under the system32 name; paths from
// the definitions and the files healing acts on must be used where they really point.
#pragma once

namespace tollivar {

// Turns the redirection off for this thread while it lives. No effect in a 64-bit build.
class NoFileRedirection {
  public:
    NoFileRedirection();
    ~NoFileRedirection();
    NoFileRedirection(const NoFileRedirection&) = delete;
    NoFileRedirection& operator=(const NoFileRedirection&) = delete;

  private:
    void* old_ = nullptr;
    bool disabled_ = false;
};

} // namespace tollivar
