#include <gtest/gtest.h>

#include <functional>

#include "options/filter_editor.h"
#include "toolkit/headless_toolkit.h"

namespace {

void key(toolkit::Edit& e, int code) {
    int k = code;
    if (e.onKeyDown)
        e.onKeyDown(k);
}

} // namespace

TEST(FilterEditor, CarriesItsTextsAndStartsInThePatternField) {
    toolkit::HeadlessToolkit tk;
    TfrmAddFilter f;
    EXPECT_EQ(f.caption(), "增加文件类型");
    EXPECT_EQ(f.Label2.caption(), "需要清理的文件类型的扩展名:");
    EXPECT_EQ(f.Label1.caption(), "文件类型备注:");
    EXPECT_EQ(f.RzBitBtn1.caption(), "&确  定");
    EXPECT_EQ(f.Btn_Close.caption(), "&取  消");
    f.show();
    EXPECT_EQ(f.activeControl(), &f.eFilterName);
}

TEST(FilterEditor, AnswersAsTheDialogClosed) {
    using Script = std::function<void(TfrmAddFilter&)>;
    struct Case {
        const char* label;
        Script user;
        bool accepted;
        const char* name;
        const char* memo;
        bool closedByScript; // the script ended the run itself
    } cases[] = {
        {"small letters come back as capitals",
         [](TfrmAddFilter& f) {
             f.eFilterName.setText("*.bak");
             f.eFilterMemo.setText("backup 备份 file");
             f.RzBitBtn1.click();
         },
         true, "*.BAK", "BACKUP 备份 FILE", true},
        {"Enter in the pattern field moves on, Enter in the description accepts",
         [](TfrmAddFilter& f) {
             f.eFilterName.setText("*.tmp ");
             key(f.eFilterName, 13);
             EXPECT_EQ(f.modalResult(), toolkit::mrNone);
             EXPECT_EQ(f.activeControl(), &f.eFilterMemo);
             key(f.eFilterMemo, 13);
         },
         true, "*.TMP ", "", true},
        {"line feed does as Enter does, also with an empty pattern",
         [](TfrmAddFilter& f) {
             key(f.eFilterName, 10);
             EXPECT_EQ(f.modalResult(), toolkit::mrNone);
             key(f.eFilterMemo, 10);
         },
         true, "", "", true},
        {"other keys do nothing",
         [](TfrmAddFilter& f) {
             key(f.eFilterName, 'A');
             key(f.eFilterMemo, toolkit::VK_TAB);
             EXPECT_EQ(f.modalResult(), toolkit::mrNone);
             EXPECT_EQ(f.activeControl(), &f.eFilterName);
         },
         false, "", "", false},
        {"cancel after typing",
         [](TfrmAddFilter& f) {
             f.eFilterName.setText("*.old");
             f.Btn_Close.click();
         },
         false, "*.OLD", "", true},
        {"the close box",
         [](TfrmAddFilter& f) {
             f.eFilterName.setText("*.x");
             f.close();
         },
         false, "*.X", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        toolkit::HeadlessToolkit tk;
        bool ended = false;
        tk.onModal("TfrmAddFilter", [&](toolkit::Form& f) {
            c.user(static_cast<TfrmAddFilter&>(f));
            ended = f.modalResult() != toolkit::mrNone;
        });
        TFilterAnswer a = AskFilter();
        EXPECT_EQ(ended, c.closedByScript);
        EXPECT_EQ(a.Accepted, c.accepted);
        EXPECT_EQ(a.FilterName, c.name);
        EXPECT_EQ(a.FilterMemo, c.memo);
        // The dialog is gone once it has answered.
        EXPECT_EQ(toolkit::Form::findByCaption("增加文件类型"), nullptr);
    }
}
