#pragma once
// One tip of the day: its text, its identifier in the collection ("T00001",
// ...) and the moment it was created.

#include <chrono>
#include <string>

namespace varkel {

class cTip
{
public:
    cTip() = default;
    cTip(std::string id, std::string text) : m_id(std::move(id)), m_text(std::move(text)) {}

    const std::string &Text() const { return m_text; }
    void SetText(std::string text) { m_text = std::move(text); }

    const std::string &ID() const { return m_id; }
    void SetID(std::string id) { m_id = std::move(id); }

    std::chrono::system_clock::time_point Created() const { return m_created; }

private:
    std::string m_id;
    std::string m_text;
    std::chrono::system_clock::time_point m_created = std::chrono::system_clock::now();
};

} // namespace varkel
