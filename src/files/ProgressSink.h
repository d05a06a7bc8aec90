#pragma once

#include <string>

namespace uzuviv {

// The progress window as the readers and writers drive it.
struct ProgressSink {
    virtual ~ProgressSink() = default;
    virtual void Show(const std::string& caption) = 0;   // caption, progress 0, show
    virtual void SetProgress(int percent) = 0;
    virtual void Close() = 0;
};

} // namespace uzuviv
