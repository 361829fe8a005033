#include <gtest/gtest.h>

#include "info/about_window.h"
#include "platform/platform.h"
#include "support/temp_machine.h"
#include "toolkit/headless_toolkit.h"

using platform::VersionResource;

namespace {

// Version information as a test gives it, for whatever file is asked about.
class GivenVersionInfo : public platform::VersionInfo {
public:
    explicit GivenVersionInfo(std::optional<VersionResource> r, bool loads = true)
        : resource_(std::move(r)), loads_(loads), previous_(platform::services()) {
        platform::Services s = previous_;
        s.version = this;
        platform::install(s);
    }
    ~GivenVersionInfo() override { platform::install(previous_); }

    std::vector<std::string> asked;
    std::uint32_t infoSize(const std::string& path) override {
        asked.push_back(path);
        return resource_ ? platform::versionInfoBytes(*resource_) : 0;
    }
    bool loadInfo(const std::string&, std::uint32_t size, VersionResource& out) override {
        if (!loads_ || !resource_ || size < platform::versionInfoBytes(*resource_))
            return false;
        out = *resource_;
        return true;
    }

private:
    std::optional<VersionResource> resource_;
    bool loads_;
    platform::Services previous_;
};

struct About : ::testing::Test {
    testsupport::TempMachine machine{"C"};
    toolkit::HeadlessToolkit tk;
    TFrm_About w;
};

} // namespace

TEST_F(About, TheVersionIsTheFileVersionOfTheFirstTranslation) {
    const std::map<std::string, std::string> v2008{{"FileVersion", "2008.0.0.3"}, {"ProductName", "x"}};
    struct Case {
        const char* label;
        std::optional<VersionResource> resource;
        bool loads;
        const char* shown;
    } cases[] = {
        {"translation 0809/04E4 and its table", VersionResource{{{0x0809, 0x04E4}}, {{"080904E4", v2008}}}, true,
         "Version 2008.0.0.3"},
        {"no version information", std::nullopt, true, "Version "},
        {"information that cannot be loaded", VersionResource{{{0x0809, 0x04E4}}, {{"080904E4", v2008}}}, false,
         "Version "},
        {"no translation", VersionResource{{}, {{"080904E4", v2008}}}, true, "Version "},
        {"the first translation has no table", VersionResource{{{0x0409, 0x04B0}, {0x0809, 0x04E4}}, {{"080904E4", v2008}}},
         true, "Version "},
        {"the first translation picks its table",
         VersionResource{{{0x0409, 0x04B0}, {0x0809, 0x04E4}},
                         {{"040904B0", {{"FileVersion", "1.2.3.4"}}}, {"080904E4", v2008}}},
         true, "Version 1.2.3.4"},
        {"keys and names in another case", VersionResource{{{0x0804, 0x03A8}}, {{"080403a8", {{"fileversion", "5.0"}}}}},
         true, "Version 5.0"},
        {"a table without FileVersion", VersionResource{{{0x0809, 0x04E4}}, {{"080904E4", {{"ProductVersion", "9"}}}}},
         true, "Version "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        GivenVersionInfo info(c.resource, c.loads);
        w.show();
        EXPECT_EQ(w.L_VerInfo.caption(), c.shown);
        EXPECT_EQ(info.asked, (std::vector<std::string>{platform::sys().executablePath()}));
        w.hide();
    }
}

TEST_F(About, ShowsTheTitleAndTheVersionTheProgramCarries) {
    w.show();
    EXPECT_EQ(w.caption(), "About...");
    EXPECT_EQ(w.L_EName.caption(), "Tessaly --- 2008Brisa  ");
    EXPECT_EQ(w.L_VerInfo.caption(), "Version 2008.0.0.3");
}

TEST_F(About, HomePageAndSupportMailGoToTheShellFromBothOfTheirControls) {
    const std::string rule(48, '_');
    const std::string mail = "mailto:support@quorcleaner.example?subject= Tessaly --- 2008Brisa   &Body=FullName:" +
                             rule + "\n\rAddress(Country):" + rule + "\n\rPhone:" + rule + "\n\rFax:" + rule;
    // A browser or mail program that does not start changes nothing.
    for (bool starts : {true, false}) {
        SCOPED_TRACE(starts ? "the request is made" : "the request fails");
        machine.shell().requests.clear();
        machine.shell().executeResult = starts;
        tk.onModal("TFrm_About", [&](toolkit::Form&) {
            for (toolkit::Control* c : std::initializer_list<toolkit::Control*>{&w.L_Homepage, &w.TransparentButton2,
                                                                                &w.L_Email, &w.Tb_Email}) {
                c->click();
                EXPECT_TRUE(w.visible()) << c->name();
            }
            w.L_RightInfo.click(); // does nothing
            w.Btn_Help.click();
        });
        w.showModal();
        EXPECT_FALSE(w.visible());
        ASSERT_EQ(machine.shell().requests.size(), 4u);
        for (size_t i = 0; i < 4; ++i) {
            const platform::ShellRequest& r = machine.shell().requests[i];
            EXPECT_EQ(r.verb, "open");
            EXPECT_EQ(r.file, i < 2 ? std::string(HomePage) : mail) << i;
            EXPECT_EQ(r.parameters, "");
            EXPECT_EQ(r.show, 1); // SW_SHOWNORMAL
        }
        EXPECT_TRUE(tk.messageBoxes.empty());
    }
}

TEST_F(About, TheWindowHasNoCloseBox) {
    EXPECT_FALSE(w.systemMenu);
    EXPECT_EQ(w.Btn_Help.caption(), "以后再说");
}
