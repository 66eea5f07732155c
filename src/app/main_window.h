// The program's main window ("Velmora"): the user list, the status list with its message, the
// start button and the buttons to the other windows.
#pragma once
#include "app/command_line.h"
#include "app/main_pictures.h"
#include "app/main_window_ids.h"
#include "app/status_list.h"
#include "client/starter.h"
#include "client/status.h"
#include "ui/tooltips.h"
#include "ui/window.h"

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace velmora::app {

class MainWindow : public ui::Window {
public:
    MainWindow();
    ~MainWindow() override;

    // Creates the window, runs its load handling (translation, position, lists) and shows it.
    static void Show();
    static MainWindow* Find();

    // What the start action reads and uses.
    std::wstring TypedUser() const { return ui::Text(Item(IDC_COMB_USER)); }
    std::optional<int32_t> SelectedStatus() const;
    // The typed user, the selected status and the message the user wrote for it (or that the box
    // showed when a new number was typed); no message when the box shows the stored one, which then
    // stays as it is.
    command_line::StartRequest ChoiceToStart() const;
    Starter& TheStarter();
    // After a start: the window shows what the client now holds for the user, as stored.
    void Started();

    // Saves what the program saves at its end (position and settings) while the session ends.
    void SaveForSessionEnd();

private:
    void OnLoad() override;
    void OnCommand(int id, int code) override;
    LRESULT OnNotify(const NMHDR& header) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    void OnRelayout() override;
    void OnClose() override;
    std::optional<LRESULT> OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    POINT Place(SIZE size) override;

    void FillStatus();
    void ShowMessageLabel(const status::StatusInfo& selected);
    void ReadUsers();
    void ShowUserStatus();
    void StatusChange();
    void combUser_Click();
    void combUser_Change();
    void KeepChoiceForNewNumber(const std::wstring& user);
    struct Choice;
    Choice ChoiceShown() const;
    void cbtnSettings_Click();
    void ShowStartMenu();
    void mnuCreateShortcut_Click();
    void SetTooltips();
    void Form_Unload();
    std::wstring UserForLookup() const;

    // What the user chose while typing led through numbers of recorded users: it comes back when
    // the typed number has no records.
    struct Choice {
        std::optional<int32_t> status;
        std::map<int32_t, std::wstring> edits;
    };

    std::unique_ptr<Starter> starter_; // created on first use, kept while the window lives
    // The translated status names, in the status table's order.
    status_list::Names statusNames_;
    ui::Tooltips tooltips_{nullptr};
    MainPictures pictures_;
    std::wstring shownFor_; // the user whose stored status and messages the window shows
    // The messages Start writes, per status: what the user wrote, kept across status switches until
    // a start or another user.
    std::map<int32_t, std::wstring> edits_;
    std::optional<Choice> ownChoice_;
    bool loadingMessage_ = false;
};

} // namespace velmora::app
