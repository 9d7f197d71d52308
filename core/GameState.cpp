#include "GameState.h"

#include <string_view>

#include "DecimalText.h"

namespace tonovka {

namespace {

constexpr std::string_view kWrapCursor = "16";
constexpr std::string_view kFirstWindow = "1";
constexpr std::string_view kVictoryScore = "210";
constexpr std::string_view kTimeOut = "0";

constexpr std::array<std::string_view, GameState::kWindowCount> kWindowNumbers = {
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15"};

} // namespace

void GameState::advanceManCursor()
{
    m_manCursor = stepDecimal(m_manCursor, +1);
    if (m_manCursor == kWrapCursor)
        m_manCursor = kFirstWindow;
    m_observer->manCursorChanged(m_manCursor);
}

void GameState::advanceWomanCursor()
{
    m_womanCursor = stepDecimal(m_womanCursor, +1);
    if (m_womanCursor == kWrapCursor) {
        // The wrapping tick skips the victory test.
        m_womanCursor = kFirstWindow;
        m_observer->womanCursorChanged(m_womanCursor);
        return;
    }
    m_observer->womanCursorChanged(m_womanCursor);
    if (m_score == kVictoryScore)
        m_observer->targetReached();
}

void GameState::placeMan()
{
    place(m_manCursor, Occupant::Man);
}

void GameState::placeWoman()
{
    place(m_womanCursor, Occupant::Woman);
}

void GameState::place(const std::string& cursor, Occupant who)
{
    for (int n = 1; n <= kWindowCount; ++n) {
        if (cursor == kWindowNumbers[static_cast<std::size_t>(n - 1)]) {
            setWindow(n, who);
            return;
        }
    }
}

void GameState::countDown()
{
    setTimeLeft(stepDecimal(m_timeLeft, -1));
    if (m_timeLeft == kTimeOut)
        m_observer->timeRanOut();
}

void GameState::clickWindow(int n)
{
    if (n < 1 || n > kWindowCount)
        return;

    // The click counts first and takes the count back when the window was empty; in between
    // nothing is tested, so a rescue that reaches 210 or brings the time back to 0 is judged
    // by the next tick.
    std::string score = stepDecimal(m_score, +1);
    std::string timeLeft = stepDecimal(m_timeLeft, +1);
    const Occupant was = window(n);
    if (was == Occupant::Man || was == Occupant::Woman) {
        setWindow(n, Occupant::Empty);
        setScore(std::move(score));
        setTimeLeft(std::move(timeLeft));
        return;
    }
    score = stepDecimal(score, -1);
    timeLeft = stepDecimal(timeLeft, -1);
    setScore(std::move(score));
    setTimeLeft(std::move(timeLeft));
}

void GameState::setWindow(int n, Occupant who)
{
    Occupant& slot = m_windows[static_cast<std::size_t>(n - 1)];
    if (slot == who)
        return;
    slot = who;
    m_observer->windowChanged(n, who);
}

void GameState::setScore(std::string text)
{
    if (text == m_score)
        return;
    m_score = std::move(text);
    m_observer->scoreChanged(m_score);
}

void GameState::setTimeLeft(std::string text)
{
    if (text == m_timeLeft)
        return;
    m_timeLeft = std::move(text);
    m_observer->timeLeftChanged(m_timeLeft);
}

} // namespace tonovka
