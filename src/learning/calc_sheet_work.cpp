#include "learning/calc_sheet.h"

// TForm2: the work areas, where the student types the digits of each row and step line and
// hears them, and where each finished row is judged.

#include <algorithm>

#include "learning/messages.h"
#include "learning/text_box_rows.h"
#include "notation/text_scan.h"

namespace learning {
namespace {

namespace msg = messages;

}  // namespace

// ---- the work areas

TForm2::WorkArea* TForm2::focusedArea() {
    if (columns_.box->focused() && !rowsOf(*columns_.box).empty()) {
        return &columns_;
    }
    for (std::size_t t = 0; t < tableCount_; ++t) {
        if (partials_[t].box->focused()) {
            return &partials_[t];
        }
    }
    return nullptr;
}

int TForm2::stepLineFocused() const {
    if (!division_) {
        return -1;
    }
    for (int i = 0; i <= step_; ++i) {
        if (w_.stepLines[static_cast<std::size_t>(i)]->focused()) {
            return i;
        }
    }
    return -1;
}

void TForm2::enterCell(char cell) {
    WorkArea* area = focusedArea();
    if (area == nullptr) {
        if (stepLineFocused() < 0) {
            return;
        }
        if (division_->finished()) {
            explain(msg::kDivisionFinished);
            return;
        }
        if (letterValue(cell) < 0) {
            explain(msg::kDigitsOnly);  // a blank: a step line takes digits only
            return;
        }
    }
    say(std::string("@#") + cell);
    if (area != nullptr) {
        enterRow(*area, cell);
    } else {
        enterStep(cell);
    }
}

void TForm2::enterRow(WorkArea& area, char cell) {
    std::vector<std::string> rows = rowsOf(*area.box);
    if (area.row < area.firstRow || area.row >= static_cast<int>(rows.size())) {
        return;
    }
    std::string& row = rows[static_cast<std::size_t>(area.row)];
    row = row.substr(0, row.find('=') + 1) + cell;
    setRows(*area.box, rows);
    afterRows(area);
}

void TForm2::afterRows(WorkArea& area) {
    const std::vector<std::string> rows = rowsOf(*area.box);
    const auto last = static_cast<int>(rows.size()) - 1;
    int unanswered = -1;
    for (int r = last; r >= area.firstRow; --r) {
        if (rowAnswer(rows[static_cast<std::size_t>(r)]) == '\0') {
            unanswered = r;
        }
    }
    if (unanswered < 0) {
        area.row = std::min(area.row + 1, last);
        placeCaret(area);
        if (&area == &columns_ || tableCount_ == 1) {
            judgeRows(area);
            return;
        }
        // A finished table: on to the next one that is not, or to the final sum.
        for (std::size_t t = 0; t < tableCount_; ++t) {
            const std::vector<std::string> tableRows = rowsOf(*partials_[t].box);
            for (int r = partials_[t].firstRow; r < static_cast<int>(tableRows.size()); ++r) {
                if (rowAnswer(tableRows[static_cast<std::size_t>(r)]) == '\0') {
                    partials_[t].row = r;
                    focusArea(partials_[t]);
                    speakRow(partials_[t]);
                    return;
                }
            }
        }
        buildFinalSum();
        return;
    }
    area.row = area.row < last ? area.row + 1 : unanswered;
    placeCaret(area);
    speakRow(area);
}

void TForm2::buildFinalSum() {
    std::vector<std::vector<std::string>> tables;
    for (std::size_t t = 0; t < tableCount_; ++t) {
        tables.push_back(rowsOf(*partials_[t].box));
    }
    std::vector<std::string> sum = finalSumRows(tables);
    // A correction in a table keeps the answers of the sum rows it leaves as they were.
    if (finalSum_) {
        const std::vector<std::string> old = rowsOf(w_.Memo1);
        for (std::size_t r = 0; r < sum.size() && r < old.size(); ++r) {
            if (old[r].substr(0, old[r].find('=') + 1) == sum[r]) {
                sum[r] = old[r];
            }
        }
    }
    finalSum_ = true;
    setRows(w_.Memo1, sum);
    columns_.firstRow = 0;
    columns_.row = 0;
    w_.Memo1.setVisible(true);
    focusArea(columns_);
    speakRow(columns_);
}

void TForm2::judgeRows(WorkArea& area) {
    const std::vector<std::string> rows = rowsOf(*area.box);
    std::string answers;
    for (auto r = static_cast<std::size_t>(area.firstRow); r < rows.size(); ++r) {
        answers += rowAnswer(rows[r]);
    }
    const Verdict v = checkRows(*operation_, answers);
    showVerdict(v.right, v.result, v.right ? msg::kRight : msg::kWrong);
    // After a wrong answer the student corrects a row and is judged again at once.
    focusArea(area);
}

void TForm2::showVerdict(bool right, const std::string& result, std::string_view status) {
    w_.Edit10.setText(result);
    w_.Edit10.setVisible(true);
    setStatus(status);
    say(std::string("R") + (right ? 'E' : 'S') + result);
}

void TForm2::enterStep(char cell) {
    ui::TextBox& line = *w_.stepLines[static_cast<std::size_t>(step_)];
    const std::string before = line.text();
    const LongDivision::Step result = division_->enter(letterValue(cell));
    if (result == LongDivision::Step::Refused) {
        // An impossible digit does not stay: the student hears that it is wrong.
        say(std::string("K") + cell);
        line.setFocus();
        line.setSelStart(before.size());
        return;
    }
    line.setText(before + cell);
    line.setSelStart(line.text().size());
    switch (result) {
        case LongDivision::Step::Next: {
            ++step_;
            ui::TextBox& next = *w_.stepLines[static_cast<std::size_t>(step_)];
            next.setText(division_->stepLine());
            next.setVisible(true);
            next.setFocus();
            next.setSelStart(next.text().size());
            sayStep(next.text());
            break;
        }
        case LongDivision::Step::Done: {
            const bool right = division_->right();
            showVerdict(right, division_->quotientText(), right ? msg::kRight : msg::kWrong);
            if (right) {
                w_.Edit11.setText(division_->remainderText());
                w_.Edit11.setVisible(true);
                say("Q" + division_->remainderText());
            }
            break;
        }
        default:
            showVerdict(division_->right(), division_->quotientText(), msg::kOverflow);
            sayWords(msg::kOverflow);  // heard as well as shown
            break;
    }
}

void TForm2::moveRow(WorkArea& area, int by) {
    const auto count = static_cast<int>(rowsOf(*area.box).size());
    area.row = std::clamp(area.row + by, area.firstRow, std::max(area.firstRow, count - 1));
    placeCaret(area);
    speakRow(area);
}

void TForm2::moveStep(int by) {
    const int from = std::max(stepLineFocused(), 0);
    const int to = std::clamp(from + by, 0, step_);
    ui::TextBox& line = *w_.stepLines[static_cast<std::size_t>(to)];
    line.setFocus();
    line.setSelStart(line.text().size());
    sayStep(line.text());
}

void TForm2::focusArea(WorkArea& area) {
    area.box->setFocus();
    placeCaret(area);
}

void TForm2::placeCaret(WorkArea& area) {
    const std::vector<std::string> rows = rowsOf(*area.box);
    std::size_t position = 0;
    for (int r = 0; r < area.row && r < static_cast<int>(rows.size()); ++r) {
        position += rows[static_cast<std::size_t>(r)].size() + 2;
    }
    if (area.row < static_cast<int>(rows.size())) {
        const std::string& row = rows[static_cast<std::size_t>(area.row)];
        position += std::min(row.find('='), row.size()) + 1;
    }
    area.box->setSelStart(position);
}

void TForm2::speakRow(const WorkArea& area) {
    const std::vector<std::string> rows = rowsOf(*area.box);
    if (area.row >= 0 && area.row < static_cast<int>(rows.size())) {
        say(notation::trimBlanks(rows[static_cast<std::size_t>(area.row)]));
    }
}

}  // namespace learning
