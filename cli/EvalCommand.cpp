#include "cli/EvalCommand.h"

#include "cli/ExpressionOptions.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "report/script/ExpandText.h"
#include "report/script/ExpressionEngine.h"
#include "report/value/ExpressionError.h"

#include <iostream>
#include <memory>

namespace pv::cli {

void addEvalCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand("eval", "Print what a text box shows for [EXPR]");
    auto options = std::make_shared<ExpressionOptions>();
    auto expression = std::make_shared<std::string>();
    options->addTo(*command);
    command->add_option("EXPR", *expression, "The expression (UTF-8)")->required();
    command->callback([options, expression, &exitCode] {
        options->apply();
        ScriptedUi ui;
        ExpressionContext context;
        context.ui = &ui;
        if (int rc = options->attachTemplate(context, ui)) {
            exitCode = rc;
            return;
        }
        ExpressionEngine engine(context);
        options->bind(engine);
        try {
            std::string shown = ExpandBracket(utf8ToCp1251(*expression), {}, engine);
            std::cout << cp1251ToUtf8(shown) << "\n";
            exitCode = 0;
        } catch (const std::exception& e) { // ExpressionError and anything unforeseen
            std::cerr << e.what() << "\n";
            exitCode = 2;
        }
    });
}

} // namespace pv::cli
