#include "dialogs/ctips.h"

#include <chrono>
#include <cstdio>
#include <random>

namespace varkel {

cTip &cTips::Add(std::string text)
{
    ++m_added;
    char id[24];
    std::snprintf(id, sizeof id, "T%05ld", m_added);
    m_tips.emplace_back(id, std::move(text));
    return m_tips.back();
}

bool cTips::Delete(int position)
{
    if (position < 1 || position > Count())
        return false;
    m_tips.erase(m_tips.begin() + (position - 1));
    return true;
}

bool cTips::Delete(std::string_view id)
{
    for (auto it = m_tips.begin(); it != m_tips.end(); ++it) {
        if (it->ID() == id) {
            m_tips.erase(it);
            return true;
        }
    }
    return false;
}

const cTip *cTips::Item(int position) const
{
    if (position < 1 || position > Count())
        return nullptr;
    return &m_tips[static_cast<size_t>(position - 1)];
}

const cTip *cTips::Item(std::string_view id) const
{
    for (const cTip &tip : m_tips)
        if (tip.ID() == id)
            return &tip;
    return nullptr;
}

std::string cTips::NextTip()
{
    ++m_position;
    if (m_position > Count() || m_position < 1)
        m_position = 1;
    const cTip *tip = Item(m_position);
    return tip ? tip->Text() : std::string();
}

int cTips::RandomPosition(double r, int count)
{
    if (count < 1)
        return 0;
    const int position = static_cast<int>(r * count) + 1;
    return position < 1 ? 1 : (position > count ? count : position);
}

std::string cTips::RandomTip()
{
    // Seeded from the clock, as a fresh start should show a different tip.
    static std::mt19937 engine(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    std::uniform_real_distribution<double> draw(0.0, 1.0);
    const cTip *tip = Item(RandomPosition(draw(engine), Count()));
    return tip ? tip->Text() : std::string();
}

std::string cTips::AnotherTip(std::string_view shown)
{
    for (int i = 0; i < Count(); ++i) {
        std::string text = NextTip();
        if (text != shown)
            return text;
    }
    return std::string(shown);
}

} // namespace varkel
