// The program's main window ("Velmora"): the user list, the status list with its message, the
// start button and the buttons to the other windows.
#pragma once
#include "app/main_pictures.h"
#include "app/main_window_ids.h"
#include "app/status_list.h"
#include "client/starter.h"
#include "client/status.h"
#include "ui/tooltips.h"
#include "ui/window.h"

#include <array>
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
    std::wstring StatusMessage() const { return ui::Text(Item(IDC_TXT_STATUS_TEXT)); }
    // Whether the user wrote in the message box since it last showed a stored message.
    bool MessageTyped() const { return messageTyped_; }
    Starter& TheStarter();

    // While a long action runs (the start of the client, the update check) the window takes no
    // input; a close asked for meanwhile is done once it is over.
    bool Busy() const { return busy_; }
    void SetBusy(bool busy);

    // Saves what the program saves at its end (position and settings) while the session ends.
    void SaveForSessionEnd();

private:
    void OnLoad() override;
    void OnCommand(int id, int code) override;
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
    void cbtnSettings_Click();
    void SetTooltips();
    void Form_Unload();
    std::wstring UserForLookup() const;

    std::unique_ptr<Starter> starter_; // created on first use, kept while the window lives
    // The translated status names, in the status table's order.
    status_list::Names statusNames_;
    ui::Tooltips tooltips_{nullptr};
    MainPictures pictures_;
    std::wstring shownFor_;     // the user whose status and message the window shows
    bool messageTyped_ = false; // the message box holds what the user wrote
    bool loadingMessage_ = false;
    bool busy_ = false;
    bool closeWhenDone_ = false; // a close that came while busy
};

} // namespace velmora::app
