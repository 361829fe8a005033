// The tip and about windows on the screen: pages rendered, title bars without buttons.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/start_window.h"
#include "info/about_window.h"
#include "info/tips_window.h"
#include "platform/text_codec.h"
#include "qt_app.h"
#include "support/program_folder.h"
#include "support/temp_machine.h"

namespace fs = std::filesystem;
using namespace toolkit;

namespace {

struct InfoWindows : ::testing::Test {
    QApplication& a = qttest::app();
    testsupport::TempMachine machine{"C"};
    testsupport::ProgramFolderAt folder{"C:\\Quor"};
    qtui::QtToolkit tk;

    QTextBrowser* browser(TFrm_Tips& w) { return qobject_cast<QTextBrowser*>(tk.windowOf(w).widgetFor(w.wbTips)); }
    static QString shown(QTextBrowser* b) { return b->toPlainText().trimmed(); }
    // The texts of the page that are set in bold.
    static QStringList boldParts(QTextBrowser* b) {
        QStringList out;
        for (QTextBlock block = b->document()->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().fontWeight() >= QFont::Bold)
                    out << it.fragment().text();
        return out;
    }
};

} // namespace

TEST_F(InfoWindows, TheTipViewRendersTheMarkupOfEachPageItShows) {
    machine.writeFile("C:\\Quor\\Tips.CFG", "按 <b>下一条</b> 继续\r\n第二条 &amp; <i>斜体</i>\r\n");
    TFrm_Tips w;
    QTextBrowser* b = browser(w);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(shown(b), QString::fromUtf8("按 下一条 继续"));
    EXPECT_EQ(boldParts(b), QStringList{QString::fromUtf8("下一条")});
    // The same file rewritten is read anew.
    w.Btn_NextTips.click();
    EXPECT_EQ(shown(b), QString::fromUtf8("第二条 & 斜体"));
    EXPECT_TRUE(boldParts(b).isEmpty());
    // A page from memory shows as well.
    w.wbTips.showHtml(TFrm_Tips::TipPage("<b>内存</b>"));
    EXPECT_EQ(shown(b), QString::fromUtf8("内存"));
}

TEST_F(InfoWindows, TheShippedTipsAreTwentyOrMoreAndEveryOneRenders) {
    std::ifstream in(fs::path(QT_TESTCASE_SOURCEDIR) / ".." / "data" / "Tips.CFG", std::ios::binary);
    ASSERT_TRUE(in);
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_TRUE(platform::isValidUtf8(ss.str()));
    machine.writeFile("C:\\Quor\\Tips.CFG", ss.str());
    TFrm_Tips w;
    QTextBrowser* b = browser(w);
    ASSERT_NE(b, nullptr);
    EXPECT_GE(w.TipCount, 20);
    EXPECT_LT(w.TipCount, TFrm_Tips::MaxTips); // room is left: later lines would be lost
    int withBold = 0;
    for (int i = 1; i <= w.TipCount; ++i) {
        SCOPED_TRACE(i);
        QString text = shown(b);
        EXPECT_FALSE(text.isEmpty());
        EXPECT_FALSE(text.contains('<') || text.contains("&amp;")) << text.toStdString();
        withBold += !boldParts(b).isEmpty();
        w.Btn_NextTips.click();
    }
    EXPECT_GE(withBold, 3);
}

TEST_F(InfoWindows, TipAndAboutWindowsHaveNoButtonsInTheirTitleBars) {
    TFrm_Tips tips;
    TFrm_About about;
    TFrm_Wizard start;
    for (Form* f : std::initializer_list<Form*>{&tips, &about}) {
        Qt::WindowFlags flags = tk.windowOf(*f).windowFlags();
        EXPECT_FALSE(flags & Qt::WindowCloseButtonHint) << f->name();
        EXPECT_FALSE(flags & Qt::WindowSystemMenuHint) << f->name();
        EXPECT_TRUE(flags & Qt::WindowTitleHint) << f->name();
    }
    EXPECT_TRUE(tk.windowOf(start).windowFlags() & Qt::WindowCloseButtonHint);
    // The address labels look like links.
    EXPECT_TRUE(tk.windowOf(about).widgetFor(about.L_Homepage)->font().underline());
    EXPECT_TRUE(tk.windowOf(about).widgetFor(about.L_Email)->font().underline());
}

TEST_F(InfoWindows, TheTipWindowGivesTheFocusToItsCloseButton) {
    TFrm_Tips w;
    w.show();
    qtui::FormWindow& window = tk.windowOf(w);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), window.widgetFor(w.Btn_DeletePlan));
    w.hide();
}
