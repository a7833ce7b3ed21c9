// Tips: any tips file splits into lines without line ends and reads back as
// that many tips; the collection keeps its identifiers unique and steps
// through its tips in order whatever is added and deleted.
// Targets: src/dialogs/tipoftheday.cpp src/dialogs/ctips.cpp
//
// Input: an options byte, then the tips file, then (after a NUL byte) a
// list of operations on the collection, one byte each.

#include "support.h"

#include "dialogs/ctips.h"
#include "dialogs/tipoftheday.h"

#include <set>

using namespace varkel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size);
    const std::string_view file = input.part(0);

    const std::vector<std::string> lines = SplitTipLines(file);
    std::size_t ends = 0;
    for (std::size_t i = 0; i < file.size(); ++i)
        if (file[i] == '\n' || (file[i] == '\r' && (i + 1 == file.size() || file[i + 1] != '\n')))
            ++ends;
    const bool tail = !file.empty() && file.back() != '\n' && file.back() != '\r';
    FUZZ_CHECK(lines.size() == ends + (tail ? 1 : 0));
    std::string joined;
    for (const std::string &line : lines) {
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
        joined += line;
    }
    std::string withoutEnds(file);
    std::erase_if(withoutEnds, [](char c) { return c == '\r' || c == '\n'; });
    FUZZ_CHECK(joined == withoutEnds);

    const std::string path = fuzz::scratchFolder() + "/Tips.dat";
    fuzz::writeFile(path, file);
    cTips tips;
    FUZZ_CHECK(LoadTipsFile(path, tips));
    FUZZ_CHECK(tips.Count() == static_cast<int>(lines.size()));
    for (int i = 1; i <= tips.Count(); ++i)
        FUZZ_CHECK(tips.Item(i) && tips.Item(i)->Text() == lines[static_cast<std::size_t>(i - 1)]);

    // Operations, checked against a list of the texts kept alongside.
    std::vector<std::string> model(lines.begin(), lines.end());
    std::set<std::string> usedIds;
    for (int i = 1; i <= tips.Count(); ++i)
        FUZZ_CHECK(usedIds.insert(tips.Item(i)->ID()).second);
    int added = tips.Count();
    for (const char op : input.part(1)) {
        const auto u = static_cast<unsigned char>(op);
        const int count = tips.Count();
        switch (u % 6) {
        case 0: {
            const cTip &tip = tips.Add(std::string(1, op));
            ++added;
            model.emplace_back(1, op);
            FUZZ_CHECK(usedIds.insert(tip.ID()).second);
            FUZZ_CHECK(tip.ID().size() >= 6 && tip.ID()[0] == 'T' && std::stoi(tip.ID().substr(1)) == added);
            break;
        }
        case 1: {
            const int position = static_cast<int>(u / 6) % (count + 2);
            const bool deleted = tips.Delete(position);
            FUZZ_CHECK(deleted == (position >= 1 && position <= count));
            if (deleted)
                model.erase(model.begin() + (position - 1));
            break;
        }
        case 2: {
            const int position = count ? 1 + static_cast<int>(u / 6) % count : 1;
            const cTip *tip = tips.Item(position);
            FUZZ_CHECK((tip != nullptr) == (count > 0));
            if (tip) {
                const std::string id = tip->ID();
                FUZZ_CHECK(tips.Item(id) == tip);
                FUZZ_CHECK(tips.Delete(id) && !tips.Item(id));
                model.erase(model.begin() + (position - 1));
            }
            break;
        }
        case 3: {
            const std::string text = tips.NextTip();
            FUZZ_CHECK(count == 0 ? text.empty() : text == model[static_cast<std::size_t>(tips.Position() - 1)]);
            break;
        }
        case 4: {
            const std::string shown = count ? model[static_cast<std::size_t>(u / 6) % model.size()] : "";
            const std::string next = tips.AnotherTip(shown);
            bool anyOther = false;
            for (const std::string &t : model)
                anyOther |= t != shown;
            FUZZ_CHECK(anyOther ? next != shown : next == shown);
            break;
        }
        default: {
            const std::string text = tips.RandomTip();
            FUZZ_CHECK(count == 0 ? text.empty() : std::find(model.begin(), model.end(), text) != model.end());
            const int position = cTips::RandomPosition((u / 6) / 43.0, count);
            FUZZ_CHECK(count == 0 ? position == 0 : position >= 1 && position <= count);
            break;
        }
        }
        FUZZ_CHECK(tips.Count() == static_cast<int>(model.size()));
    }
    return 0;
}
