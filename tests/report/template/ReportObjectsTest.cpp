// Scripts and expressions reaching the objects of a loaded template by name.
#include "report/template/ReportObjects.h"
#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "report/script/ExpressionEngine.h"
#include "report/script/ScriptInterpreter.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/template/Report.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

class ReportObjectsTest : public ::testing::Test {
protected:
    ReportObjectsTest() : objects_(report_), engine_(context(), globals_) {
        TfrPage& page = report_.AddPage();
        page.Orientation = 1;
        report_.AddPage();
        auto memo = std::make_unique<TfrMemoView>();
        memo->Name = "Memo1";
        memo->Memo = {"first"};
        memo_ = memo.get();
        page.Objects.push_back(std::move(memo));
        objects_.setEngine(&engine_);
    }

    ExpressionContext context() {
        ExpressionContext c;
        c.objects = &objects_;
        return c;
    }

    void run(const std::vector<std::string>& source) {
        TfrInterpretator interpretator(engine_);
        CompiledScript script = interpretator.CompileScript(source);
        ASSERT_TRUE(script.errors.empty()) << script.errors[0];
        interpretator.RunScript(script, 10000);
    }

    ScopedSystemFormat format_{SystemFormat{}};
    TfrReport report_;
    ReportObjects objects_;
    TfrVariables globals_;
    ExpressionEngine engine_;
    TfrMemoView* memo_ = nullptr;
};

TEST_F(ReportObjectsTest, ExpressionsReadViewAndPageProperties) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Memo1.Font.Size", "10"},  {"memo1.font.name", "Arial"}, {"Memo1.Memo.Count", "1"},
        {"Page1.Orientation", "1"}, {"Page2.Orientation", "0"},
    };
    for (const auto& [expression, shown] : cases)
        EXPECT_EQ(engine_.EvaluateText(expression).toText(), shown) << expression;
}

TEST_F(ReportObjectsTest, ScriptsChangeTheTemplateObject) {
    run({"Memo1.Font.Size := 14;", "Memo1.Memo.Add('second' + ' line');", "Memo1.Memo[3] := 'x';",
         "Memo1.Hide;"});
    EXPECT_EQ(memo_->FontSize, 14);
    EXPECT_EQ(memo_->Memo, (Lines{"first", "second line", "", "x"}));
    EXPECT_FALSE(memo_->Visible);
    EXPECT_EQ(engine_.globals().Count(), 0) << "nothing fell through to a new global variable";
}

TEST_F(ReportObjectsTest, UnknownObjectsAndPagesAreNotFound) {
    for (const char* name : {"Memo2", "Page3", "Page0", "Page", "Page1x"})
        EXPECT_EQ(objects_.find(name), nullptr) << name;
    run({"Memo2.Width := 5;"});
    EXPECT_EQ(engine_.globals().Value("Memo2.Width").toText(), "5");
}

} // namespace
} // namespace pv
