#pragma once
// The text export: its persisted format, the format dialog's list logic and the writer.
// Export files are GBK text with CR LF line ends.
#include "document/survey_data.h"
#include "platform/result.h"
#include "survey/quantities.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zolm {

class SettingsStore;

// Every quantity is an export item; its number is itemOf(quantity).
inline constexpr int ExportItemCount = QuantityCount;

// The item's label: the dialog's text, the column title and the name of its stored value.
QString exportItemLabel(int id);
// The id of a label, or -1.
int exportItemId(const QString &label);
// The id of a label or of an item's English name ("depth", "gravity-toolface"), or -1.
int exportItemIdByName(const QString &name);
// The English names in id order, comma-separated: what zolm-cli accepts beside the labels.
QString exportItemNames();

struct ExportSettings {
    bool title = false;
    bool spaceSeparator = true;
    // Place in the column order; negative: not exported.
    std::array<std::int32_t, ExportItemCount> positions{};

    // Reading writes every missing value back with its default (the quantities' exportDefault).
    // The dialog and the export command number the default columns differently (0,1,2 and
    // 1,2,3); only their order matters.
    static ExportSettings readForDialog(SettingsStore &store);
    static ExportSettings readForExport(SettingsStore &store);
    // The columns to write: for each place 0..14 the lowest id holding it.
    std::vector<int> columns() const;
    // The highest position held, at least 0: the field at this place gets no separator.
    std::int32_t top() const;
};

// Settings keys.
QString exportTitleKey();     // "export/TitleCheck"
QString exportSeparatorKey(); // "export/SeperatorRadio"
QString exportItemKey(int id); // "export/<label>"

// The format dialog's two lists. Indices are places in the lists as shown.
class ExportFormatLists {
public:
    explicit ExportFormatLists(const ExportSettings &settings);

    // Unchosen item ids, in id order.
    std::vector<int> available() const;
    // Chosen item ids, in column order.
    const std::vector<int> &chosen() const { return m_chosen; }
    bool title = false;
    bool spaceSeparator = true;

    // Appends the selected available items (indices into available()) in the list's order.
    void add(const std::vector<int> &availableIndices);
    // Returns the selected chosen items (indices into chosen()) to the available list.
    void remove(const std::vector<int> &chosenIndices);
    // Moves the one selected chosen item; returns its new index, or nothing when the move
    // does not apply (several or no selection, already at the end).
    std::optional<int> up(const std::vector<int> &chosenIndices);
    std::optional<int> down(const std::vector<int> &chosenIndices);
    // Sets the chosen list outright (ids in order, each at most once).
    void setChosen(std::vector<int> ids);

    // What OK stores: every item -1, then the chosen items 0, 1, 2, ...
    ExportSettings result() const;
    // False when a value could not be stored.
    bool store(SettingsStore &store) const;

private:
    std::vector<int> m_chosen;
};

// The file's bytes: optional title line, the zero row, then one row per table row, in the
// table's order (`rowPoints`: the point of each row, as SurveyTable::rowPoints()).
std::string exportBytes(const SurveyData &survey, const std::vector<int> &rowPoints, const ExportSettings &settings);

// Writes the file whole or not at all; on failure an existing file keeps its bytes.
Done writeExportFile(const QString &path, const std::string &bytes);

// The save dialog's default file name (its title and filters are the desktop's texts).
namespace ExportDialog {
inline constexpr const char *DefaultName = "DDData";
inline constexpr const char *DefaultSuffix = "txt";
} // namespace ExportDialog

} // namespace zolm
