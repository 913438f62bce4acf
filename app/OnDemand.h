#pragma once

#include <functional>

// A child widget the window builds the first time something uses it, so that start-up does not
// pay for editors the loaded firmware never shows. It reads like the plain pointer it replaces:
// `frame->x`, `Frame* f = frame`. Code that only looks (hides, compares, asks for pending
// changes) uses IfBuilt(), which never builds.
template <class Widget>
class OnDemand {
  public:
    // `build` must Set() the widget (it may build others along with it).
    void SetBuilder(std::function<void()> build) { m_build = std::move(build); }
    void Set(Widget* widget) { m_widget = widget; }

    Widget* get() const {
        if (!m_widget && m_build) m_build();
        return m_widget;
    }
    Widget* operator->() const { return get(); }
    operator Widget*() const { return get(); }  // NOLINT: reads like the pointer it replaces

    Widget* IfBuilt() const { return m_widget; }

  private:
    std::function<void()> m_build;
    Widget* m_widget = nullptr;
};
