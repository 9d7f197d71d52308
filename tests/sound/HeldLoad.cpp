#include "HeldLoad.h"

#include "AudioEngine.h"

#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace tonovka::fixtures {

HeldLoad::HeldLoad()
{
    // A copy of its own, as a library is loaded once for each file: its next service loads it
    // again.
    m_library = m_dir.filePath(QStringLiteral("libheld.so"));
    QFile::copy(QStringLiteral(TONOVKA_HELD_LOAD_LIBRARY), m_library);
    if (::pipe2(m_entered, O_CLOEXEC) != 0 || ::pipe2(m_release, O_CLOEXEC) != 0)
        qFatal("no pipe for the held load");
    qputenv("TONOVKA_HELD_LOAD_FDS", QByteArray::number(m_entered[1]) + ' ' + QByteArray::number(m_release[0]));
}

HeldLoad::~HeldLoad()
{
    release();
    qunsetenv("TONOVKA_HELD_LOAD_FDS");
    for (const int fd : {m_entered[0], m_entered[1], m_release[0], m_release[1]})
        ::close(fd);
}

QStringList HeldLoad::libraries() const
{
    return QStringList{m_library} + installedAudioLibraries();
}

bool HeldLoad::waitUntilLoading(std::chrono::milliseconds timeout)
{
    pollfd entered{m_entered[0], POLLIN, 0};
    if (!m_loading && ::poll(&entered, 1, int(timeout.count())) == 1) {
        char byte = 0;
        m_loading = ::read(m_entered[0], &byte, 1) == 1;
    }
    return m_loading;
}

void HeldLoad::release()
{
    const char byte = 0;
    if (m_release[1] >= 0 && ::write(m_release[1], &byte, 1) == 1) {
        ::close(m_release[1]);
        m_release[1] = -1;
    }
}

} // namespace tonovka::fixtures
