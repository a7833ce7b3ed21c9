#pragma once
// The options dialog: four pages (syntax colours, comment block, user tools,
// misc) whose settings take effect page by page when applied. The enabled
// state of the Apply button is the only change marker: enabled means the
// current page has changes not yet applied. Leaving a page applies it, OK
// applies the current page and closes, Cancel closes and keeps whatever was
// applied before.
//
// The dialog stores the settings in the globals and the settings file itself;
// what the rest of the program does with them (recolouring documents,
// rebuilding the Tools menu, the file associations) goes through Hooks.

#include "app/errors.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace varkel {

class ColorButton;
class GameDictionary;
class Prompts;
class RichEdit;

class fOptions : public QDialog {
    Q_OBJECT
public:
    enum Page { PageSyntaxColors = 0, PageCommentBlock = 1, PageUserTools = 2, PageMisc = 3 };

    struct Hooks {
        // Page 0 was applied (mode, string setting and colours are stored):
        // check the mode's menu item and recolour the documents and tools.
        std::function<void()> syntaxApplied;
        // Page 2 was applied (the tool list is stored): rebuild the Tools menu.
        std::function<void()> userToolsApplied;
        // Page 3 changed whether each script gets its own command set.
        std::function<void()> detectionApplied;
        // Page 3 changed how the editors look (line numbers): show it in
        // every open editor.
        std::function<void()> editorsApplied;
        // Page 3 turned checking while typing or completions on or off.
        std::function<void()> checksApplied;
        // Whether "cfg" / "rc" files are associated with Varkel.
        std::function<bool(const std::string &extension)> isAssociated;
        // Associates the extension (its box is checked); false when the user
        // declined to replace another program's association.
        std::function<bool(QWidget *parent, const std::string &extension)> associate;
        // Reports an unexpected failure; by default an "Error <n>" message box.
        std::function<void(const Error &error)> reportError;
    };

    // dictionary colours the sample preview; without one the dialog reads the
    // dictionary of the current command set from the data folder itself.
    fOptions(Prompts &prompts, Hooks hooks, const GameDictionary *dictionary = nullptr, QWidget *parent = nullptr);
    ~fOptions() override;

    // Shows the given page (before the dialog is shown; nothing is applied).
    void SetPage(int page);

    // Applies one page's settings; false only when page 1 is refused for an
    // empty block character. On success Apply is disabled.
    bool ApplyOptions(int page);

    // Recolours the sample preview with the current settings: colours,
    // background and font of the editor, and the colouring mode.
    void RefreshPreview();

    bool IsApplyEnabled() const;

    // --- controls ---------------------------------------------------------
    QTabWidget *tabOptions = nullptr;
    std::array<QPushButton *, 2> cmdOK{};   // 0 "OK", 1 "Apply"
    QPushButton *cmdCancel = nullptr;

    // Page 0: Syntax Colors
    std::array<QRadioButton *, 3> optSyntaxType{};
    std::array<QLabel *, 8> lblSyntaxColor{};
    std::array<ColorButton *, 8> cmdSyntaxColor{};
    QCheckBox *chkColorString = nullptr;
    // The colour presets: "Default" (dark on white) and "Dark".
    QPushButton *cmdPresetDefault = nullptr;
    QPushButton *cmdPresetDark = nullptr;
    RichEdit *rtfEdit = nullptr;

    // Page 1: Comment Block
    std::array<QRadioButton *, 2> optBlockSize{};   // 0 "Auto Size", 1 "Fixed Size"
    QLineEdit *txtBlockSize = nullptr;
    QLabel *lblBlockSize = nullptr;
    std::array<QRadioButton *, 2> optComAlign{};    // 0 "Left Justify", 1 "Center"
    QLineEdit *txtComChar = nullptr;
    QCheckBox *chkComUCase = nullptr;
    RichEdit *rtfComment = nullptr;

    // Page 2: User Tools
    QTreeWidget *lvwUserTools = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdEdit = nullptr;
    QPushButton *cmdDelete = nullptr;
    std::array<QToolButton *, 2> cmdMoveItem{};     // 0 up, 1 down

    // Page 3: Misc
    QLabel *lblFileTypeInstr = nullptr;
    QCheckBox *chkCFG = nullptr;
    QCheckBox *chkRC = nullptr;
    QCheckBox *chkShowTips = nullptr;
    QCheckBox *chkDetectGame = nullptr;
    QCheckBox *chkLineNumbers = nullptr;
    QCheckBox *chkCheckScripts = nullptr;
    QCheckBox *chkCompletions = nullptr;

    // --- user actions (also what the buttons do) ---------------------------
    void cmdOK_Click(int index);
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdDelete_Click();
    void cmdMoveItem_Click(int index);
    void cmdSyntaxColor_Click(int row);
    // Puts a preset's colours on the colour buttons; Apply stores them with
    // the preset's editor background.
    void cmdPreset_Click(bool dark);
    void lvwUserTools_ColumnClick(int column);

protected:
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    // The background of the preset chosen since the last Apply, if any.
    std::optional<unsigned> m_presetBackground;

    QWidget *buildSyntaxPage();
    QWidget *buildCommentPage();
    QWidget *buildToolsPage();
    QWidget *buildMiscPage();
    void Form_Load();
    void report(const Error &error);
    void setApplyEnabled(bool on);
    void enableApply() { setApplyEnabled(true); }
    int selectedSyntaxType() const;
    void optSyntaxType_Rule();
    void optBlockSize_Rule();
    void onTabChanged(int index);
    void buildCommentPreview();
    bool handleTextKey(QLineEdit *box, QKeyEvent *e);
    void showToolDialog(QTreeWidgetItem *row, bool adding);

    Prompts &m_prompts;
    Hooks m_hooks;
    const GameDictionary *m_dictionary = nullptr;
    std::unique_ptr<GameDictionary> m_ownDictionary;
    int m_currentPage = 0;
    bool m_switchingBack = false;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace varkel
