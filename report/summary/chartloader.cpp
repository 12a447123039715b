// The program's side of the chart library: finding and loading it once.
#include <dlfcn.h>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <stdexcept>

#include "report/summary/chartlibrary.h"

namespace velmora {

ChartLibraryLoad LoadChartLibrary(const std::vector<QString>& candidates) {
    std::string tried;
    for (const QString& file : candidates) {
        if (!QFileInfo::exists(file))
            continue;
        // Never unloaded: charts and views it made live on until the program ends.
        void* handle = dlopen(QFile::encodeName(file).constData(), RTLD_NOW | RTLD_LOCAL);
        std::string reason;
        if (handle == nullptr) {
            const char* error = dlerror();
            reason = error != nullptr ? error : "it could not be loaded";
        } else if (void* entry = dlsym(handle, kChartLibraryEntry)) {
            using Entry = const ChartLibrary* (*)();
            if (const ChartLibrary* library = reinterpret_cast<Entry>(entry)())
                return {library, {}};
            reason = "it gave no functions";
        } else {
            reason = std::string("it has no ") + kChartLibraryEntry;
        }
        tried += "; " + file.toStdString() + ": " + reason;
    }
    std::string failure = "The chart library could not be loaded";
    if (tried.empty()) {
        failure += " (none of";
        for (const QString& file : candidates)
            failure += " " + file.toStdString();
        failure += " exists)";
    } else {
        failure += ": " + tried.substr(2);
    }
    return {nullptr, failure + "."};
}

std::vector<QString> ChartLibraryCandidates() {
    const QString program = QCoreApplication::applicationDirPath();
    const QString name = QStringLiteral(VELMORA_CHART_LIBRARY_NAME);
    return {
        // An installed window program (bin/) and PDF writer (libexec/velmora/).
        QDir::cleanPath(program + QStringLiteral("/" VELMORA_CHART_DIR_FROM_BIN "/") + name),
        QDir::cleanPath(program + QStringLiteral("/" VELMORA_CHART_DIR_FROM_LIBEXEC "/") + name),
        QStringLiteral(VELMORA_CHART_LIBRARY_BUILT),
    };
}

const ChartLibrary& Charts() {
    static const ChartLibraryLoad load = LoadChartLibrary(ChartLibraryCandidates());
    if (load.library == nullptr)
        throw std::runtime_error(load.failure);
    return *load.library;
}

}  // namespace velmora
