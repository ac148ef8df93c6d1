// Enabling rules of the menu commands and their accelerators, the panes they touch, the prompts.
#include <gtest/gtest.h>

#include <vector>

#include "resources/resource_ids.h"
#include "shell/kurvomat_view.h"
#include "support/kurvomat_session.h"

namespace {

// The conditions the rules read: points, function, fit result.
struct DocumentState {
    const char* name;
    bool points;
    bool function;
    bool fit;
};

const DocumentState kStates[] = {
    {"empty", false, false, false},
    {"function only", false, true, false},
    {"points only", true, false, false},
    {"points and function", true, true, false},
    {"points, function and fit", true, true, true},
};

enum class Rule { Always, P, F, PorF, PandF };

struct CommandRule {
    UINT id;
    Rule rule;
};

const CommandRule kRules[] = {
    {ID_FILE_NEW, Rule::Always},
    {ID_LOAD_POINTS, Rule::Always},
    {ID_LOAD_FUNCTION_COEF, Rule::Always},
    {ID_LOAD_APPLICATION, Rule::Always},
    {ID_FILE_PRINT_SETUP, Rule::Always},
    {ID_APP_EXIT, Rule::Always},
    {ID_APP_ABOUT, Rule::Always},
    {ID_HELP_MANUAL, Rule::Always},
    {ID_ODE_1, Rule::Always},
    {ID_ODE_2, Rule::Always},
    {ID_ODE_N, Rule::Always},
    {ID_ENTER_FUNCTION, Rule::Always},
    {ID_ENTER_TABLE, Rule::Always},
    {ID_SAVE_POINTS, Rule::P},
    {ID_EXPORT_BITMAP, Rule::P},
    {ID_FILE_PRINT, Rule::P},
    {ID_FILE_PRINT_PREVIEW, Rule::P},
    {ID_GRAPH_RESULTS, Rule::P},
    {ID_DEFINE_SCALE, Rule::P},
    {ID_LOAD_COEF, Rule::F},
    {ID_SAVE_COEF, Rule::F},
    {ID_SAVE_FUNCTION_COEF, Rule::F},
    {ID_ENTER_COEF, Rule::F},
    {ID_CALC_FX, Rule::F},
    {ID_CALC_DERIVATIVE, Rule::F},
    {ID_CALC_INTEGRAL, Rule::F},
    {ID_SOLVE_BISECTION, Rule::F},
    {ID_SOLVE_NEWTON, Rule::F},
    {ID_FILE_SAVE, Rule::PorF},
    {ID_SAVE_APPLICATION_AS, Rule::PorF},
    {ID_LEAST_SQUARES, Rule::PandF},
    {ID_LEVENBERG_MARQUARDT, Rule::PandF},
};

bool Expected(Rule rule, const DocumentState& s) {
    switch (rule) {
        case Rule::Always:
            return true;
        case Rule::P:
            return s.points;
        case Rule::F:
            return s.function;
        case Rule::PorF:
            return s.points || s.function;
        case Rule::PandF:
            return s.points && s.function;
    }
    return false;
}

class MenuRulesTest : public KurvomatSession {
  protected:
    // Starts the program on an application file holding what `state` names.
    void StartWith(const DocumentState& state) {
        const std::wstring path = WriteDocument("state.gen", [&](FitData& data) {
            if (state.function) SetFunction(data, "A*X+B", {2.0, 1.0});
            if (state.points) SetPoints(data, {1, 2, 3}, {3, 5, 7});
            if (state.fit) {
                data.fitDone = 1;
                data.fitDistance = 0.25;
            }
        });
        ASSERT_TRUE(Restart(state.points || state.function ? path : L""));
    }
};

TEST_F(MenuRulesTest, EveryRuleAgainstTheDocumentState) {
    for (const DocumentState& state : kStates) {
        SCOPED_TRACE(state.name);
        StartWith(state);
        for (const CommandRule& command : kRules) {
            EXPECT_EQ(Driver().IsMenuItemEnabled(command.id), Expected(command.rule, state))
                << "command " << command.id;
        }
        EXPECT_EQ(ScriptErrors(), "");
    }
}

TEST_F(MenuRulesTest, OpenedDocumentLightsItsPanes) {
    for (const DocumentState& state : kStates) {
        SCOPED_TRACE(state.name);
        StartWith(state);
        headless::Driver& d = Driver();
        EXPECT_EQ(d.StatusPane(1), state.points ? L"PTS" : L"");
        EXPECT_EQ(d.StatusPane(2), state.function ? L"FCT" : L"");
        EXPECT_EQ(d.StatusPane(3), state.function ? L"COEF" : L"");
        EXPECT_EQ(d.StatusPane(4), state.fit ? L"DIST" : L"");
        EXPECT_EQ(d.StatusPane(5), L"") << "an opened document has the automatic scale";
    }
}

// A disabled command runs neither from the menu nor from its keys.
TEST_F(MenuRulesTest, DisabledCommandsDoNothing) {
    StartWith(kStates[0]);
    headless::Driver& d = Driver();
    EXPECT_FALSE(d.ChooseMenu(ID_LEAST_SQUARES));
    EXPECT_FALSE(d.ChooseMenu(ID_SAVE_APPLICATION_AS));
    EXPECT_FALSE(d.ChooseMenu(ID_FILE_PRINT));
    d.PressKey('S', true);
    d.PressKey('P', true);
    d.PressKey(VK_F6);
    d.PressKey(VK_F6, false, true);
    EXPECT_TRUE(d.FileDialogs().empty());
    EXPECT_TRUE(d.PrintDialogs().empty());
    EXPECT_EQ(d.DialogsOpened().size(), 1u) << "only the splash";
    EXPECT_EQ(d.WaitCursorShows(), 0);
    EXPECT_EQ(ScriptErrors(), "");
}

// Ctrl+S is the save-as command 205, also when the document already has a file.
TEST_F(MenuRulesTest, CtrlSAsksForANewName) {
    for (const DocumentState& state : {kStates[1], kStates[2]}) {
        SCOPED_TRACE(state.name);
        StartWith(state);
        headless::Driver& d = Driver();
        d.CancelFileDialog();
        d.PressKey('S', true);
        ASSERT_EQ(d.FileDialogs().size(), 1u);
        const headless::FileDialogRecord& shown = d.FileDialogs()[0];
        EXPECT_FALSE(shown.open);
        EXPECT_EQ(shown.title, L"Enregistrer l'application Kurvomat sous");
        EXPECT_NE(shown.flags & OFN_OVERWRITEPROMPT, 0u)
            << "the view's save-as, not the document's save";
        EXPECT_EQ(shown.initialName, WidePath("state.gen"));
        EXPECT_EQ(ScriptErrors(), "");
    }
}

TEST_F(MenuRulesTest, AcceleratorsFollowTheirCommandsRules) {
    StartWith(kStates[1]);  // a function, no points
    headless::Driver& d = Driver();
    d.PressKey('P', true);
    EXPECT_TRUE(d.PrintDialogs().empty()) << "printing needs points";
    d.CancelFileDialog();
    d.PressKey('O', true);
    ASSERT_EQ(d.FileDialogs().size(), 1u);
    EXPECT_EQ(d.FileDialogs()[0].title, L"Ouvrir une application Kurvomat");

    StartWith(kStates[2]);  // points, no function
    Driver().CancelPrintDialog();
    Driver().PressKey('P', true);
    ASSERT_EQ(Driver().PrintDialogs().size(), 1u);
    EXPECT_FALSE(Driver().PrintDialogs()[0].setupOnly);
    EXPECT_EQ(ScriptErrors(), "");
}

// The rule of command 211 also lights or darkens FCT and COEF whenever the menu asks it.
TEST_F(MenuRulesTest, EnterCoefficientsRuleSetsFunctionPanes) {
    StartWith(kStates[1]);
    headless::Driver& d = Driver();
    ASSERT_EQ(d.StatusPane(2), L"FCT");
    Data().function.isCompiled = 0;
    EXPECT_EQ(d.StatusPane(2), L"FCT") << "nothing asked yet";
    EXPECT_FALSE(d.IsMenuItemEnabled(ID_ENTER_COEF));
    EXPECT_EQ(d.StatusPane(2), L"");
    EXPECT_EQ(d.StatusPane(3), L"");
    Data().function.isCompiled = 1;
    EXPECT_TRUE(d.IsMenuItemEnabled(ID_ENTER_COEF));
    EXPECT_EQ(d.StatusPane(2), L"FCT");
    EXPECT_EQ(d.StatusPane(3), L"COEF");
}

TEST_F(MenuRulesTest, RefreshRoutinesFollowTheRecord) {
    StartWith(kStates[4]);
    headless::Driver& d = Driver();
    auto* view = dynamic_cast<CKurvomatView*>(d.MainFrame()->GetActiveView());
    ASSERT_NE(view, nullptr);
    Data().scale.autoScale = 0;
    Data().fitDone = 0;
    Data().hasPoints = 0;
    view->RefreshFunctionPanes();
    EXPECT_EQ(d.StatusPane(1), L"PTS") << "the function panes' refresh leaves PTS";
    EXPECT_EQ(d.StatusPane(4), L"");
    EXPECT_EQ(d.StatusPane(5), L"");
    view->RefreshPointPanes();
    EXPECT_EQ(d.StatusPane(1), L"");
    EXPECT_EQ(d.StatusPane(5), L"ECH");
    Data().function.isCompiled = 0;
    view->RefreshPointPanes();
    EXPECT_EQ(d.StatusPane(2), L"FCT") << "the point panes' refresh leaves FCT";
    view->RefreshFunctionPanes();
    EXPECT_EQ(d.StatusPane(2), L"");
    EXPECT_EQ(d.StatusPane(3), L"");
}

struct PromptCase {
    UINT id;
    const wchar_t* prompt;
};

TEST_F(MenuRulesTest, HighlightedItemShowsItsPrompt) {
    StartWith(kStates[3]);
    const PromptCase cases[] = {
        {ID_FILE_NEW, L"Crée une nouvelle Application"},
        {ID_LOAD_POINTS, L"Charger un fichier texte contenant une Table de Points "},
        {ID_LOAD_APPLICATION, L"Charger une Application éxistante"},
        {ID_FILE_SAVE, L"Sauver l'ensemble de l'application"},
        {ID_LEAST_SQUARES, L"Ajustement par la méthode des moindres carrés"},
        {ID_LEVENBERG_MARQUARDT, L"Ajustement par la méthode de Levenberg Maquart"},
        {ID_CALC_INTEGRAL,
         L"Calcul de l'intégrale de la fonction entre 2 points par la méthode de Simpson"},
        {ID_APP_EXIT, L"Ferme l'application ; propose d'enregistrer les documents"},
        {ID_HELP_MANUAL, L"Appelle l'aide sur le programme"},
        {ID_EXPORT_BITMAP, L""},
        {ID_DEFINE_SCALE, L""},
    };
    headless::Driver& d = Driver();
    for (const PromptCase& c : cases) {
        SCOPED_TRACE(c.id);
        d.HighlightMenuItem(c.id);
        EXPECT_EQ(d.StatusPane(0), c.prompt);
        d.CloseMenu();
        EXPECT_EQ(d.StatusPane(0), L"Prêt");
    }
}

}  // namespace
