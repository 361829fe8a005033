#include "update/updater_forms.h"

#include <cstdio>
#include <vector>

#include "toolkit/toolkit.h"
#include "update/updater_messages.h"

namespace {

// Formats one message; the table's placeholders are checked against the English texts.
template <class... Args>
std::string formatMessage(const std::string& format, Args... args) {
    int n = std::snprintf(nullptr, 0, format.c_str(), args...);
    if (n < 0)
        return format;
    std::vector<char> buf(static_cast<std::size_t>(n) + 1);
    std::snprintf(buf.data(), buf.size(), format.c_str(), args...);
    return std::string(buf.data(), static_cast<std::size_t>(n));
}

} // namespace

std::string FormatUpdaterMessage(int n, const std::string& s1, const std::string& s2) {
    return formatMessage(UpdaterMessage(n), s1.c_str(), s2.c_str());
}
std::string FormatUpdaterMessage(int n, double value) { return formatMessage(UpdaterMessage(n), value); }
std::string FormatUpdaterMessage(int n, int a, int b, int c) { return formatMessage(UpdaterMessage(n), a, b, c); }

int WrappedLines(const std::string& text, int chars) {
    int lines = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        const std::size_t len = (end == std::string::npos ? text.size() : end) - pos;
        lines += 1 + static_cast<int>(len / static_cast<std::size_t>(chars));
        if (end == std::string::npos)
            break;
        // CR LF counts as one line end.
        pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

TupSelfUpdaterUpgradeMessageForm::TupSelfUpdaterUpgradeMessageForm(const std::string& title,
                                                                   const std::string& message)
    : toolkit::Form("TupSelfUpdaterUpgradeMessageForm"), Icon(this, "Icon"), Label1(this, "Label1"),
      BottomPanel(this, "BottomPanel"), YesBtn(this, "YesBtn"), LaterBtn(this, "LaterBtn") {
    setCaption(UpdaterMessage(0));
    borderStyle = toolkit::BorderStyle::Dialog;
    position = toolkit::FormPosition::ScreenCenter;
    Icon.setImage("update.question");
    Icon.setBounds(12, 12, 32, 32);
    const std::string framed = message.empty() ? std::string() : "\n" + message + "\n";
    Label1.setCaption(FormatUpdaterMessage(23, title, framed));
    // The window fits the wrapped text and the button panel.
    const int textHeight = 16 * WrappedLines(Label1.caption(), 52);
    Label1.setBounds(56, 12, 340, textHeight);
    BottomPanel.setBounds(0, textHeight + 24, 410, 44);
    YesBtn.setParentName("BottomPanel");
    LaterBtn.setParentName("BottomPanel");
    YesBtn.setCaption(UpdaterMessage(14));
    YesBtn.setBounds(120, 8, 80, 26);
    YesBtn.isDefault = true;
    YesBtn.modalResult = toolkit::mrYes;
    LaterBtn.setCaption(UpdaterMessage(19));
    LaterBtn.setBounds(210, 8, 80, 26);
    LaterBtn.isCancel = true;
    LaterBtn.modalResult = toolkit::mrNo;
    setClientSize(410, textHeight + 24 + 44);
}

TupSelfUpdaterWizardForm::TupSelfUpdaterWizardForm()
    : toolkit::Form("TupSelfUpdaterWizardForm"), Panel1(this, "Panel1"), Image1(this, "Image1"),
      AboutShadow(this, "AboutShadow"), AboutLabel(this, "AboutLabel"), WizardTitle(this, "WizardTitle"),
      Bevel1(this, "Bevel1", toolkit::ControlKind::Separator), LCurrentFile(this, "LCurrentFile"),
      LDownloadingFileFrom(this, "LDownloadingFileFrom"), FileURL(this, "FileURL"),
      FileSizeLab(this, "FileSizeLab"), TransferRateLab(this, "TransferRateLab"),
      EstimatedTimeLeftLab(this, "EstimatedTimeLeftLab"), ProgressCurrentFile(this, "ProgressCurrentFile"),
      LAllFiles(this, "LAllFiles"), AllDownloading(this, "AllDownloading"),
      ProgressAllFiles(this, "ProgressAllFiles"), AfterNote(this, "AfterNote"), FinishBtn(this, "FinishBtn"),
      CancelBtn(this, "CancelBtn") {
    setCaption(UpdaterMessage(0));
    borderStyle = toolkit::BorderStyle::Dialog;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(520, 300);
    Panel1.setBounds(8, 8, 122, 222);
    Image1.setParentName("Panel1");
    Image1.setBounds(2, 2, 118, 218);
    Image1.setStretch(true);
    const std::string product = " " + UpdaterString(kUpdaterProductLabel) + " ";
    AboutShadow.setCaption(product);
    AboutShadow.setBounds(9, 237, 120, 16);
    AboutLabel.setCaption(product);
    AboutLabel.setBounds(8, 236, 120, 16);
    WizardTitle.setCaption(UpdaterMessage(1));
    WizardTitle.setBounds(140, 8, 370, 20);
    WizardTitle.setFont(toolkit::Font{toolkit::Color::None, true, 10, false});
    Bevel1.setBounds(140, 32, 370, 2);

    LCurrentFile.setCaption(" " + UpdaterMessage(3) + " ");
    LCurrentFile.setBounds(140, 40, 370, 130);
    for (toolkit::Control* c : std::initializer_list<toolkit::Control*>{
             &LDownloadingFileFrom, &FileURL, &FileSizeLab, &TransferRateLab, &EstimatedTimeLeftLab,
             &ProgressCurrentFile})
        c->setParentName("LCurrentFile");
    LDownloadingFileFrom.setCaption(UpdaterMessage(5));
    LDownloadingFileFrom.setBounds(8, 18, 350, 16);
    FileURL.setBounds(8, 36, 350, 18);
    FileURL.setBorder(false);
    FileURL.setReadOnly(true);
    FileURL.onKeyDown = [](int& key) { key = 0; }; // every key press is discarded
    FileSizeLab.setCaption(FormatUpdaterMessage(6, 0.0));
    FileSizeLab.setBounds(8, 58, 350, 16);
    TransferRateLab.setCaption(FormatUpdaterMessage(7, 0.0));
    TransferRateLab.setBounds(8, 76, 350, 16);
    EstimatedTimeLeftLab.setCaption(UpdaterMessage(22));
    EstimatedTimeLeftLab.setBounds(8, 94, 350, 16);
    ProgressCurrentFile.setRange(0, 100);
    ProgressCurrentFile.setBounds(8, 112, 350, 12);

    LAllFiles.setCaption(" " + UpdaterMessage(4) + " ");
    LAllFiles.setBounds(140, 176, 370, 60);
    AllDownloading.setParentName("LAllFiles");
    ProgressAllFiles.setParentName("LAllFiles");
    AllDownloading.setBounds(8, 18, 350, 16);
    ProgressAllFiles.setRange(0, 100);
    ProgressAllFiles.setBounds(8, 38, 350, 12);

    AfterNote.setBounds(140, 40, 370, 16);
    FinishBtn.setCaption(UpdaterMessage(18));
    FinishBtn.setBounds(340, 262, 80, 26);
    FinishBtn.setEnabled(false);
    FinishBtn.onClick = [this] { FinishBtnClick(); };
    CancelBtn.setCaption(UpdaterMessage(17));
    CancelBtn.setBounds(430, 262, 80, 26);
    CancelBtn.isDefault = true;
    CancelBtn.isCancel = true;
    CancelBtn.onClick = [this] { CancelBtnClick(); };
    onCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    onClose = [this](toolkit::CloseAction&) { closed_ = true; };
}

void TupSelfUpdaterWizardForm::ShowFinalState(const std::string& title) {
    final_ = true;
    WizardTitle.setCaption(UpdaterMessage(2));
    AfterNote.setCaption(FormatUpdaterMessage(10, title));
    const toolkit::Rect r = AfterNote.bounds();
    AfterNote.setBounds(r.left, r.top, r.width, 16 * WrappedLines(AfterNote.caption(), 56));
    LCurrentFile.setVisible(false);
    LAllFiles.setVisible(false);
    CancelBtn.setEnabled(false);
    FinishBtn.setCaption(UpdaterMessage(16));
    FinishBtn.setEnabled(true);
    setActiveControl(&FinishBtn);
}

void TupSelfUpdaterWizardForm::FinishBtnClick() {
    finishing_ = true;
    close();
    finishing_ = false;
}

void TupSelfUpdaterWizardForm::CancelBtnClick() { close(); }

void TupSelfUpdaterWizardForm::Dismiss() {
    if (closing_ || closed_)
        return;
    finishing_ = true;
    close();
    finishing_ = false;
}

void TupSelfUpdaterWizardForm::FormCloseQuery(bool& canClose) {
    if (finishing_)
        return;
    closing_ = true;
    auto& tk = toolkit::Toolkit::current();
    const int answer = tk.messageBox(UpdaterMessage(27), tk.applicationTitle(),
                                     toolkit::MB_ICONQUESTION | toolkit::MB_YESNO);
    canClose = answer == toolkit::IDYES;
    if (canClose && OnCancelled)
        OnCancelled();
    closing_ = false;
}

TupSelfUpdaterPasswordForm::TupSelfUpdaterPasswordForm(const std::string& fileName, const std::string& user)
    : toolkit::Form("TupSelfUpdaterPasswordForm"), Image1(this, "Image1"), Label1(this, "Label1"),
      UsernameLab(this, "UsernameLab"), PasswordLab(this, "PasswordLab"), UsernameEdit(this, "UsernameEdit"),
      PasswordEdit(this, "PasswordEdit"), BottomPanel(this, "BottomPanel"), OKBtn(this, "OKBtn"),
      CancelBtn(this, "CancelBtn") {
    setCaption(UpdaterMessage(11));
    borderStyle = toolkit::BorderStyle::Dialog;
    position = toolkit::FormPosition::ScreenCenter;
    Image1.setImage("update.key");
    Image1.setBounds(12, 12, 32, 32);
    Label1.setCaption(FormatUpdaterMessage(29, fileName));
    const int textHeight = 16 * WrappedLines(Label1.caption(), 50);
    Label1.setBounds(56, 12, 330, textHeight);
    BottomPanel.setBounds(0, textHeight + 20, 400, 110);
    for (toolkit::Control* c : std::initializer_list<toolkit::Control*>{&UsernameLab, &UsernameEdit, &PasswordLab,
                                                                         &PasswordEdit, &OKBtn, &CancelBtn})
        c->setParentName("BottomPanel");
    UsernameLab.setCaption(UpdaterMessage(12));
    UsernameLab.setBounds(56, 4, 100, 16);
    UsernameEdit.setText(user);
    UsernameEdit.setBounds(160, 2, 200, 20);
    PasswordLab.setCaption(UpdaterMessage(13));
    PasswordLab.setBounds(56, 32, 100, 16);
    PasswordEdit.setPasswordChar('*');
    PasswordEdit.setBounds(160, 30, 200, 20);
    OKBtn.setCaption(UpdaterMessage(16));
    OKBtn.setBounds(200, 70, 80, 26);
    OKBtn.isDefault = true;
    OKBtn.modalResult = toolkit::mrOk;
    OKBtn.onClick = [this] { OKBtnClick(); };
    CancelBtn.setCaption(UpdaterMessage(17));
    CancelBtn.setBounds(290, 70, 80, 26);
    CancelBtn.isCancel = true;
    CancelBtn.modalResult = toolkit::mrCancel;
    setClientSize(400, textHeight + 20 + 110);
}

void TupSelfUpdaterPasswordForm::OKBtnClick() {
    username = UsernameEdit.text();
    password = PasswordEdit.text();
}
