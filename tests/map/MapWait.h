#pragma once
// Waiting for the web engine in tests, always with a time limit so that a test never hangs.

#include "map/CMapViewWnd.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <functional>
#include <optional>

namespace kx::test {

inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// The bridge's answer to `command`; nullopt when none arrived in time.
inline std::optional<QString> RunAndWait(CMapViewWnd& view, const QString& command,
                                         int timeoutMs = 3000) {
    std::optional<QString> answer;
    view.RunScriptCommand(command, [&answer](const QString& text) { answer = text; });
    WaitUntil([&] { return answer.has_value(); }, timeoutMs);
    return answer;
}

}  // namespace kx::test
