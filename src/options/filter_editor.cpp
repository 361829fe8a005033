#include "options/filter_editor.h"

#include <memory>

namespace {
bool isEnter(int key) { return key == toolkit::VK_RETURN || key == 10; }
} // namespace

TfrmAddFilter::TfrmAddFilter()
    : Form("TfrmAddFilter"), Label2(this, "Label2"), eFilterName(this, "eFilterName"), Label1(this, "Label1"),
      eFilterMemo(this, "eFilterMemo"), RzBitBtn1(this, "RzBitBtn1"), Btn_Close(this, "Btn_Close"),
      Bevel2(this, "Bevel2", toolkit::ControlKind::Separator) {
    setCaption("增加文件类型");
    borderStyle = toolkit::BorderStyle::Dialog;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(360, 190);

    Label2.setCaption("需要清理的文件类型的扩展名:");
    Label2.setBounds(16, 12, 328, 20);
    eFilterName.upperCase = true;
    eFilterName.setBounds(16, 34, 328, 24);
    Label1.setCaption("文件类型备注:");
    Label1.setBounds(16, 66, 328, 20);
    eFilterMemo.upperCase = true;
    eFilterMemo.setBounds(16, 88, 328, 24);
    Bevel2.setBounds(16, 124, 328, 2);
    RzBitBtn1.setCaption("&确  定");
    RzBitBtn1.setBounds(136, 140, 100, 32);
    Btn_Close.setCaption("&取  消");
    Btn_Close.isCancel = true;
    Btn_Close.setBounds(244, 140, 100, 32);

    onShow = [this] { FormShow(); };
    eFilterName.onKeyDown = [this](int& key) { eFilterNameKeyDown(key); };
    eFilterMemo.onKeyDown = [this](int& key) { eFilterMemoKeyDown(key); };
    RzBitBtn1.onClick = [this] { RzBitBtn1Click(); };
    Btn_Close.onClick = [this] { Btn_CloseClick(); };
}

void TfrmAddFilter::FormShow() { setActiveControl(&eFilterName); }

void TfrmAddFilter::eFilterNameKeyDown(int& key) {
    if (!isEnter(key))
        return;
    // Enter here only moves on: the pattern alone is not an answer yet.
    key = 0;
    setActiveControl(&eFilterMemo);
}

void TfrmAddFilter::eFilterMemoKeyDown(int& key) {
    if (!isEnter(key))
        return;
    key = 0;
    setModalResult(toolkit::mrOk);
    close();
}

void TfrmAddFilter::RzBitBtn1Click() {
    setModalResult(toolkit::mrOk);
    close();
}

void TfrmAddFilter::Btn_CloseClick() {
    setModalResult(toolkit::mrCancel);
    close();
}

TFilterAnswer AskFilter() {
    TFilterAnswer answer;
    auto dialog = std::make_unique<TfrmAddFilter>();
    int result = dialog->showModal();
    answer.FilterName = dialog->eFilterName.text();
    answer.FilterMemo = dialog->eFilterMemo.text();
    answer.Accepted = result == toolkit::mrOk;
    return answer;
}
