// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace brasvel {

enum class ProgressBarId { Toolbar, Batch };  // ProgressBar1 on the tool bar, ProgressBar3 on `extra`
enum class PanelId { Extra, Preview };        // `extra` (batch progress) and Panel1 ("Obraz")

inline constexpr int kProgressMaximum = 100;
inline constexpr int kStatusPanelCount = 6;

// The status bar, the progress bars, the type box and the panels around the list.
class StatusWidgets {
public:
    virtual ~StatusWidgets() = default;

    // The status bar (StatusBar1), panels 0 to 5. Texts stay until replaced.
    virtual void setStatusText(int panel, std::string_view text) = 0;
    virtual void setStatusWidth(int panel, int width) = 0;

    // Progress bars, range 0 to 100: a position above 100 shows full and reads back as 100.
    virtual int progressPosition(ProgressBarId bar) const = 0;
    virtual void setProgressPosition(ProgressBarId bar, int position) = 0;

    // The type box (ComboBox1). With no item selected the index lies outside 0 to 12.
    virtual int selectedTypeIndex() const = 0;
    // Changes only the text shown; raises no change event.
    virtual void setTypeBoxText(std::string_view text) = 0;
    // The comparison's status filter beside the type box: `items` (UTF-8), the first chosen; none
    // hides it. The user's choice comes as MainForm::comparisonFilterChosen.
    virtual void showStatusFilter(std::span<const std::string> items) = 0;

    // Panels. The preview panel can also be undocked and docked by the user.
    virtual void setPanelVisible(PanelId panel, bool visible) = 0;
    virtual void setPanelHint(PanelId panel, std::string_view entryBytes) = 0;
};

}  // namespace brasvel
