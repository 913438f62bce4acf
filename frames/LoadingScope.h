#pragma once

#include <utility>

// Sets a frame's loading flag for the lifetime of the scope and restores the value it had on
// every way out, so an exception cannot leave a frame deaf to the user's edits. Nested scopes
// keep the flag set until the outermost ends.
class LoadingScope {
  public:
    explicit LoadingScope(bool& flag) : m_flag(flag), m_was(std::exchange(flag, true)) {}
    ~LoadingScope() { m_flag = m_was; }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

  private:
    bool& m_flag;
    bool m_was;
};
