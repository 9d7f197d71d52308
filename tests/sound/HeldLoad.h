#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>

namespace tonovka::fixtures {

// A library whose loading the test holds (held-load-library.cpp): the audio thread's first
// command, which loads the audio libraries, stays in the load until release(), as a slow load
// would keep it. One hold for each audio service, made before it.
class HeldLoad {
public:
    HeldLoad();
    ~HeldLoad();
    HeldLoad(const HeldLoad&) = delete;
    HeldLoad& operator=(const HeldLoad&) = delete;

    // The libraries for the service to load: the held one, then the installed audio libraries.
    QStringList libraries() const;

    // Waits until the audio thread is in the load; whether it is in it, or has been.
    bool waitUntilLoading(std::chrono::milliseconds timeout);
    void release();

private:
    QTemporaryDir m_dir;
    QString m_library;
    int m_entered[2] = {-1, -1};
    int m_release[2] = {-1, -1};
    bool m_loading = false;
};

} // namespace tonovka::fixtures
