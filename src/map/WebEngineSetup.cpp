#include "map/WebEngineSetup.h"

#include <QCoreApplication>

#include <sstream>
#include <unistd.h>

namespace kx {
namespace {

void AddFlag(std::string& flags, const std::string& flag) {
    std::istringstream words(flags);
    for (std::string word; words >> word;)
        if (word == flag) return;
    if (!flags.empty()) flags += ' ';
    flags += flag;
}

}  // namespace

std::string ChromiumFlags(const std::string& existing, bool root, const std::string& extra) {
    std::string flags = existing;
    if (root) AddFlag(flags, "--no-sandbox");
    std::istringstream words(extra);
    for (std::string word; words >> word;) AddFlag(flags, word);
    return flags;
}

void PrepareWebEngine(const std::string& extraChromiumFlags) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    const QByteArray existing = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    const std::string flags =
        ChromiumFlags(existing.toStdString(), geteuid() == 0, extraChromiumFlags);
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", QByteArray::fromStdString(flags));
}

}  // namespace kx
