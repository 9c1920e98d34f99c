#pragma once

#include "data/command_context.h"
#include "data/user_interface.h"
#include "data/working_state.h"

#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>

class QPlainTextEdit;
class QPushButton;

// The program's one window: the text box Text1 and the thirteen command
// buttons. It owns the working state and gives the commands the screen.
class Form1 : public QWidget, public UserInterface {
    Q_OBJECT

public:
    // labDirectory is where the program keeps its files; it is created here.
    explicit Form1(const std::filesystem::path& labDirectory, QWidget* parent = nullptr);
    ~Form1() override;

    const WorkingState& workingState() const { return *state_; }

    std::string readBox() const override;
    void replaceBox(const std::string& text, std::size_t showFrom = 0) override;
    void showMessage(const std::string& prompt) override;
    std::string askText(const std::string& prompt) override;

public slots:
    void cmd_clear_box_Click();
    void cmd_first_difference_Click();
    void cmd_running_sum_Click();
    void cmd_difference_quotient_Click();
    void cmd_select_column_Click();
    void cmd_change_row_to_column_Click();
    void cmd_std_dev_Click();
    void cmd_genRand_Click();
    void cmd_change_delimiter_Click();
    void cmd_output_as_delimited_file_Click();
    void cmd_experiment_specific_calculations_Click();

private:
    QPushButton* addButton(const char* name, const QString& caption, QRect twips);
    void layOutControls();
    void addShortcuts();
    void startUp();
    // Scrolls the box so that a position of its document is in view.
    void bringIntoView(int position);

    // The box text as the core sees it, kept while the document is unchanged:
    // a command reads the box more than once, and converting a long text
    // each time would cost more than the command's own work.
    mutable std::optional<std::string> boxText_;

    std::unique_ptr<WorkingState> state_;
    CommandContext context_;
    QPlainTextEdit* text1_ = nullptr;
};
