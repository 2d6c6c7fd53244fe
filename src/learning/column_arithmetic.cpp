#include "learning/column_arithmetic.h"

#include <algorithm>
#include <optional>
#include <tuple>
#include <utility>

#include "notation/text_scan.h"

namespace learning {
namespace {

constexpr std::string_view kLetters = "jabcdefghi";
constexpr std::string_view kOperators = "(+-/";

// ---- unsigned decimal numbers as strings of '0'..'9', most significant first

std::string stripZeros(std::string s) {
    const std::size_t first = s.find_first_not_of('0');
    s.erase(0, first == std::string::npos ? s.size() - 1 : first);
    return s.empty() ? "0" : s;
}

int compareNumbers(std::string_view a, std::string_view b) {
    const std::string x = stripZeros(std::string(a));
    const std::string y = stripZeros(std::string(b));
    if (x.size() != y.size()) {
        return x.size() < y.size() ? -1 : 1;
    }
    return x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
}

std::string addNumbers(std::string_view a, std::string_view b) {
    std::string sum;
    int carry = 0;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()) || carry != 0; ++i) {
        int d = carry;
        d += i < a.size() ? a[a.size() - 1 - i] - '0' : 0;
        d += i < b.size() ? b[b.size() - 1 - i] - '0' : 0;
        sum += static_cast<char>('0' + d % 10);
        carry = d / 10;
    }
    std::reverse(sum.begin(), sum.end());
    return stripZeros(sum);
}

// a - b for a >= b.
std::string subtractNumbers(std::string_view a, std::string_view b) {
    std::string difference;
    int borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        int d = a[a.size() - 1 - i] - '0' - borrow;
        d -= i < b.size() ? b[b.size() - 1 - i] - '0' : 0;
        borrow = d < 0 ? 1 : 0;
        difference += static_cast<char>('0' + d + 10 * borrow);
    }
    std::reverse(difference.begin(), difference.end());
    return stripZeros(difference);
}

std::string multiplyNumbers(std::string_view a, std::string_view b) {
    std::vector<int> cells(a.size() + b.size(), 0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < b.size(); ++j) {
            cells[i + j + 1] += (a[i] - '0') * (b[j] - '0');
        }
    }
    for (std::size_t k = cells.size() - 1; k > 0; --k) {
        cells[k - 1] += cells[k] / 10;
        cells[k] %= 10;
    }
    std::string product;
    for (int c : cells) {
        product += static_cast<char>('0' + c);
    }
    return stripZeros(product);
}

// Quotient and remainder of a / b (b not zero), digit by digit.
std::pair<std::string, std::string> divideNumbers(std::string_view a, std::string_view b) {
    std::string quotient;
    std::string remainder = "0";
    for (char c : a) {
        remainder = stripZeros(remainder + c);
        int digit = 0;
        while (compareNumbers(remainder, b) >= 0) {
            remainder = subtractNumbers(remainder, b);
            ++digit;
        }
        quotient += static_cast<char>('0' + digit);
    }
    return {stripZeros(quotient), remainder};
}

std::string toNumber(std::string_view letters) {
    std::string digits;
    for (char c : letters) {
        digits += static_cast<char>('0' + std::max(letterValue(c), 0));
    }
    return digits.empty() ? "0" : digits;
}

std::string toLetters(std::string_view digits) {
    std::string letters;
    for (char c : digits) {
        letters += digitLetter(c - '0');
    }
    return letters;
}

bool isZero(std::string_view letters) {
    return letters.find_first_not_of('j') == std::string_view::npos;
}

// ---- operands

int decimalsOf(std::string_view operand) {
    const std::size_t comma = operand.find(',');
    return comma == std::string_view::npos ? 0 : static_cast<int>(operand.size() - comma - 1);
}

std::size_t digitCount(std::string_view operand) {
    return operand.size() -
           static_cast<std::size_t>(std::count(operand.begin(), operand.end(), ','));
}

std::string withoutComma(std::string_view operand) {
    std::string digits(operand);
    std::erase(digits, ',');
    return digits;
}

// The operand's cells for arithmetic: blanks, number signs and round brackets skipped,
// decimal digits as letters. nullopt when a cell is not a digit or a comma, when there are two
// commas or no digit at all.
std::optional<std::string> operandCells(std::string_view raw) {
    std::string cells;
    for (char c : raw) {
        if (c == ' ' || c == '#' || c == '*' || c == '?') {
            continue;
        }
        if (c == ',') {
            cells += c;
            continue;
        }
        const char letter = typedDigit(c);
        if (letter == 0) {
            return std::nullopt;
        }
        cells += letter;
    }
    if (std::count(cells.begin(), cells.end(), ',') > 1 || digitCount(cells) == 0) {
        return std::nullopt;
    }
    // Leading zeros of the whole part say nothing and would upset the column layout and the
    // comparison of lengths.
    const std::size_t whole = std::min(cells.find(','), cells.size());
    std::size_t zeros = 0;
    while (zeros + 1 < whole && cells[zeros] == 'j') {
        ++zeros;
    }
    cells.erase(0, zeros);
    return cells;
}

// The first `n` cells, without a comma left dangling at the end.
std::string firstCells(std::string_view operand, std::size_t n) {
    std::string cut(operand.substr(0, n));
    if (!cut.empty() && cut.back() == ',') {
        cut.pop_back();
    }
    return cut;
}

void padDecimals(std::string& digits, int& decimals, int to) {
    digits.append(static_cast<std::size_t>(std::max(0, to - decimals)), 'j');
    decimals = std::max(decimals, to);
}

void prepareColumns(Operation& op, int firstDecimals, int secondDecimals) {
    // Both operands get the same number of decimals, so that their columns line up.
    const int decimals = std::max(firstDecimals, secondDecimals);
    padDecimals(op.first, firstDecimals, decimals);
    padDecimals(op.second, secondDecimals, decimals);
    op.decimals = decimals;
    const bool shorter = op.first.size() < op.second.size();
    const bool smaller = op.first.size() == op.second.size() &&
                         compareNumbers(toNumber(op.first), toNumber(op.second)) < 0;
    if (shorter || (op.working == kMinus && smaller)) {
        std::swap(op.first, op.second);
        op.swapped = op.working == kMinus;
    }
    const std::string a = toNumber(op.first);
    const std::string b = toNumber(op.second);
    op.expected = toLetters(op.working == kPlus ? addNumbers(a, b) : subtractNumbers(a, b));
    op.expectedDecimals = decimals;
}

void prepareProduct(Operation& op, int firstDecimals, int secondDecimals) {
    op.decimals = firstDecimals + secondDecimals;
    if (op.first.size() < op.second.size()) {
        std::swap(op.first, op.second);
    }
    op.expected = toLetters(multiplyNumbers(toNumber(op.first), toNumber(op.second)));
    op.expectedDecimals = op.decimals;
}

void prepareQuotient(Operation& op, int dividendDecimals, int divisorDecimals,
                     int requestedDecimals) {
    // Zeros at the end of the divisor's decimals say nothing.
    while (divisorDecimals > 0 && op.second.back() == 'j') {
        op.second.pop_back();
        --divisorDecimals;
    }
    // The comma of both moves right until the divisor is whole, as on paper.
    padDecimals(op.first, dividendDecimals, divisorDecimals);
    op.decimals = dividendDecimals - divisorDecimals;
    op.divisorDecimals = divisorDecimals;
    op.first = toLetters(stripZeros(toNumber(op.first)));
    op.second = toLetters(stripZeros(toNumber(op.second)));

    const std::string divisor = toNumber(op.second);
    auto [quotient, remainder] = divideNumbers(toNumber(op.first), divisor);
    op.expectedDecimals = op.decimals;
    if (remainder != "0" && requestedDecimals > op.decimals) {
        const auto zeros = static_cast<std::size_t>(requestedDecimals - op.decimals);
        std::tie(quotient, remainder) =
            divideNumbers(toNumber(op.first) + std::string(zeros, '0'), divisor);
        op.expectedDecimals = requestedDecimals;
    }
    op.expected = toLetters(quotient);
    op.remainder = toLetters(remainder);
}

}  // namespace

char digitLetter(int value) {
    return value >= 0 && value <= 9 ? kLetters[static_cast<std::size_t>(value)] : '\0';
}

int letterValue(char cell) {
    const char lower = (cell >= 'A' && cell <= 'J') ? static_cast<char>(cell - 'A' + 'a') : cell;
    const std::size_t i = kLetters.find(lower);
    return lower != '\0' && i != std::string_view::npos ? static_cast<int>(i) : -1;
}

char typedDigit(char c) {
    if (notation::isDigit(c)) {
        return digitLetter(c - '0');
    }
    return letterValue(c) >= 0 ? digitLetter(letterValue(c)) : '\0';
}

NormalisedOperation normaliseOperation(std::string_view text) {
    std::string s(text);
    // A negative number in round brackets, "?-#c*", is a number, not a group: its brackets go.
    for (std::size_t open = s.find("?-"); open != std::string::npos; open = s.find("?-", open)) {
        const std::size_t close = s.find('*', open + 2);
        if (close == std::string::npos) {
            break;
        }
        const std::string_view content = std::string_view(s).substr(open + 2, close - open - 2);
        if (content.find_first_of("(+-/146np") == std::string_view::npos) {
            s[open] = ' ';
            s[close] = ' ';
        }
        open = close + 1;
    }
    std::erase(s, ' ');

    NormalisedOperation out;
    std::string folded;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == kMinus && !folded.empty() &&
            (folded.back() == kTimes || folded.back() == kDivide)) {
            out.negative = !out.negative;
            continue;
        }
        folded += s[i];
    }
    s = notation::replaceAll(folded, "+-", "-");
    s = notation::replaceAll(s, "--", "+");
    if (!s.empty() && s.front() == kMinus) {
        out.negative = !out.negative;
        out.firstNegative = true;
    }
    out.text = std::move(s);
    return out;
}

SelectionProblem checkSelection(std::string_view selection) {
    if (selection.empty()) {
        return SelectionProblem::NothingSelected;
    }
    const std::string text = normaliseOperation(selection).text;
    const std::size_t op = text.find_first_of(kOperators, 1);
    if (op == std::string::npos || op + 1 >= text.size()) {
        return SelectionProblem::Invalid;
    }
    if (text.find_first_of(kOperators, op + 1) != std::string::npos) {
        return SelectionProblem::SeveralOperations;
    }
    return SelectionProblem::None;
}

Prepared prepare(const NormalisedOperation& operation, int requestedDecimals) {
    Prepared out;
    const std::string_view text = operation.text;
    if (text.empty()) {
        out.refusal = Refusal::Empty;
        return out;
    }
    const std::size_t start = text.front() == kMinus ? 1 : 0;
    const std::size_t pos = text.find_first_of(kOperators, start);
    if (pos == std::string_view::npos || pos == start || pos + 1 >= text.size()) {
        out.refusal = Refusal::Invalid;
        return out;
    }
    Operation& op = out.operation;
    op.op = text[pos];
    op.negative = operation.negative;
    op.firstNegative = operation.firstNegative;
    const std::optional<std::string> first = operandCells(text.substr(start, pos - start));
    const std::optional<std::string> second = operandCells(text.substr(pos + 1));
    if (!first || !second) {
        out.refusal = Refusal::Invalid;
        return out;
    }
    op.firstText = *first;
    op.secondText = *second;

    if (op.op == kPlus || op.op == kMinus) {
        if (op.firstText.size() > kMaxAddCells || op.secondText.size() > kMaxAddCells) {
            out.cut = true;
            op.firstText = firstCells(op.firstText, kMaxAddCells);
            op.secondText = firstCells(op.secondText, kMaxAddCells);
        }
    } else {
        // The zeros F2 put after the dividend are the student's request, not his number.
        std::size_t asked = 0;
        if (op.op == kDivide) {
            const auto decimals = static_cast<std::size_t>(decimalsOf(op.firstText));
            while (asked < decimals && asked < static_cast<std::size_t>(requestedDecimals) &&
                   op.firstText[op.firstText.size() - 1 - asked] == 'j') {
                ++asked;
            }
        }
        if (digitCount(op.firstText) - asked > kMaxFirstFactorDigits ||
            digitCount(op.secondText) > kMaxSecondFactorDigits) {
            out.cut = true;
            op.firstText = firstCells(op.firstText, kMaxFirstFactorDigits);
            op.secondText = firstCells(op.secondText, kMaxSecondFactorDigits);
        }
    }
    if (out.cut) {
        out.expressionText = expressionText(op);
    }

    if (op.op == kDivide && isZero(withoutComma(op.secondText))) {
        out.refusal = Refusal::DivisionByZero;
        return out;
    }

    op.first = withoutComma(op.firstText);
    op.second = withoutComma(op.secondText);
    const int firstDecimals = decimalsOf(op.firstText);
    const int secondDecimals = decimalsOf(op.secondText);
    op.working = op.op;
    if (op.negative && op.op == kPlus) {
        op.working = kMinus;
    } else if (op.negative && op.op == kMinus) {
        op.working = kPlus;
    }
    switch (op.op) {
        case kTimes:
            prepareProduct(op, firstDecimals, secondDecimals);
            break;
        case kDivide:
            prepareQuotient(op, firstDecimals, secondDecimals, requestedDecimals);
            break;
        default:
            prepareColumns(op, firstDecimals, secondDecimals);
            break;
    }
    return out;
}

std::string withOneMoreDecimal(std::string_view dividend) {
    std::string s(dividend);
    if (s.find(',') == std::string::npos) {
        s += ',';
    }
    return s + 'j';
}

std::string withOneDecimalFewer(std::string_view dividend) {
    std::string s(dividend);
    if (s.find(',') != std::string::npos) {
        s.pop_back();
        if (!s.empty() && s.back() == ',') {
            s.pop_back();
        }
    }
    return s;
}

std::string expressionText(const Operation& op) {
    if (op.op == kDivide) {
        const bool divisorNegative = op.negative != op.firstNegative;
        return std::string(op.firstNegative ? "-" : "") + "#" + op.firstText + op.op +
               (divisorNegative ? "-" : "") + "#" + op.secondText;
    }
    return std::string(op.negative ? "-" : "") + "#" + op.firstText + op.op + "#" + op.secondText;
}

std::string numberText(std::string_view digits, int decimals, bool negative) {
    std::string s(digits);
    if (decimals > 0 && !s.empty()) {
        const auto places = static_cast<std::size_t>(decimals);
        if (s.size() <= places) {
            s.insert(0, places + 1 - s.size(), 'j');
        }
        s.insert(s.size() - places, 1, ',');
    }
    const std::size_t whole = std::min(s.find(','), s.size());
    std::size_t zeros = 0;
    while (zeros + 1 < whole && s[zeros] == 'j') {
        ++zeros;
    }
    s.erase(0, zeros);
    const bool zero = s.find_first_not_of("j,") == std::string::npos;
    return negative && !zero ? "?-#" + s + "*" : "#" + s;
}

bool sameValue(std::string_view a, int aDecimals, std::string_view b, int bDecimals) {
    std::string x(a);
    std::string y(b);
    padDecimals(x, aDecimals, bDecimals);
    padDecimals(y, bDecimals, aDecimals);
    return compareNumbers(toNumber(x), toNumber(y)) == 0;
}

std::vector<std::string> columnRows(const Operation& op) {
    std::vector<std::string> rows;
    const std::size_t columns = std::max(op.first.size(), op.second.size());
    for (std::size_t c = 0; c < columns; ++c) {
        const char a = c < op.first.size() ? op.first[op.first.size() - 1 - c] : ' ';
        const char b = c < op.second.size() ? op.second[op.second.size() - 1 - c] : ' ';
        const char sign = a != ' ' && b != ' ' ? op.working : ' ';
        rows.push_back({a, sign, b, '='});
    }
    rows.emplace_back(kCarryRow);
    return rows;
}

std::vector<std::vector<std::string>> multiplicationTables(const Operation& op) {
    std::vector<std::vector<std::string>> tables;
    const std::size_t count = std::min<std::size_t>(op.second.size(), kMaxSecondFactorDigits);
    for (std::size_t t = 0; t < count; ++t) {
        const char multiplier = op.second[op.second.size() - 1 - t];
        std::vector<std::string> rows(firstAnswerRow(t), std::string(kCarryRow));
        for (auto d = op.first.rbegin(); d != op.first.rend(); ++d) {
            rows.push_back({*d, kTimes, multiplier, '='});
        }
        rows.emplace_back(kCarryRow);
        tables.push_back(std::move(rows));
    }
    return tables;
}

char rowAnswer(std::string_view row) {
    const std::size_t equals = row.find('=');
    if (equals == std::string_view::npos || equals + 1 >= row.size()) {
        return '\0';
    }
    return row.back();
}

std::vector<std::string> finalSumRows(const std::vector<std::vector<std::string>>& tables) {
    std::size_t columns = 0;
    for (const auto& rows : tables) {
        columns = std::max(columns, rows.size());
    }
    std::vector<std::string> sum;
    for (std::size_t c = 0; c < columns; ++c) {
        std::string digits;
        for (const auto& rows : tables) {
            const char answer = c < rows.size() ? rowAnswer(rows[c]) : '\0';
            digits += letterValue(answer) >= 0 ? answer : ' ';
        }
        std::string row;
        for (std::size_t t = 0; t < digits.size(); ++t) {
            if (t > 0) {
                row += digits[t - 1] != ' ' && digits[t] != ' ' ? kPlus : ' ';
            }
            row += digits[t];
        }
        sum.push_back(row + '=');
    }
    sum.push_back(std::string(2 * std::max<std::size_t>(tables.size(), 1) - 1, ' ') + '=');
    return sum;
}

Verdict checkRows(const Operation& op, std::string_view answers) {
    std::string digits(answers.rbegin(), answers.rend());
    digits.erase(0, std::min(digits.find_first_not_of(' '), digits.size()));
    Verdict v;
    v.result = numberText(digits, op.decimals, op.resultNegative());
    const bool readable = !digits.empty() && digits.find(' ') == std::string::npos;
    v.right = readable && sameValue(digits, op.decimals, op.expected, op.expectedDecimals);
    return v;
}

std::string correctAnswers(const Operation& op, const std::vector<std::string>& rows, int table) {
    std::string value = op.expected;
    std::size_t offset = 0;
    if (table >= 0) {
        const auto t = static_cast<std::size_t>(table);
        const std::string multiplier(1, op.second[op.second.size() - 1 - t]);
        value = toLetters(multiplyNumbers(toNumber(op.first), toNumber(multiplier)));
        offset = firstAnswerRow(t);
    }
    value = toLetters(stripZeros(toNumber(value)));
    std::string answers;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::string_view before = std::string_view(rows[r]).substr(0, rows[r].find('='));
        const bool holdsDigit =
            std::any_of(before.begin(), before.end(), [](char c) { return letterValue(c) >= 0; });
        if (r < offset) {
            answers += '\0';
        } else if (const std::size_t i = r - offset; i < value.size()) {
            answers += value[value.size() - 1 - i];
        } else {
            answers += holdsDigit ? 'j' : '\0';
        }
    }
    return answers;
}

// ---- long division

LongDivision::LongDivision(const Operation& operation, int requestedDecimals)
    : op_(operation),
      requested_(requestedDecimals),
      dividend_(toNumber(operation.first)),
      divisor_(toNumber(operation.second)),
      decimals_(operation.decimals) {
    used_ = std::min(divisor_.size(), dividend_.size());
    if (compareNumbers(dividend_.substr(0, used_), divisor_) < 0 && used_ < dividend_.size()) {
        ++used_;
    }
    partial_ = stripZeros(dividend_.substr(0, used_));
}

std::string LongDivision::stepLine() const {
    return toLetters(partial_) + kDivide + toLetters(divisor_) + "= ";
}

int LongDivision::correctDigit() const {
    return std::stoi(divideNumbers(partial_, divisor_).first);
}

LongDivision::Step LongDivision::enter(int digit) {
    if (finished_ || digit < 0 || digit > 9) {
        return Step::Refused;
    }
    const std::string taken =
        multiplyNumbers(divisor_, std::string(1, static_cast<char>('0' + digit)));
    if (compareNumbers(taken, partial_) > 0) {
        return Step::Refused;
    }
    const std::string remainder = subtractNumbers(partial_, taken);
    if (compareNumbers(remainder, divisor_) >= 0) {
        return Step::Refused;
    }
    quotient_ += digitLetter(digit);
    partial_ = remainder;
    const bool zeroDown = partial_ != "0" && decimals_ < requested_;
    if (used_ >= dividend_.size() && !zeroDown) {
        finished_ = true;
        return Step::Done;
    }
    if (steps_ >= kMaxStepLines) {
        finished_ = true;
        overflow_ = true;
        return Step::Overflow;
    }
    if (used_ < dividend_.size()) {
        partial_ = stripZeros(partial_ + dividend_[used_]);
        ++used_;
    } else {
        partial_ += '0';
        ++decimals_;
    }
    ++steps_;
    return Step::Next;
}

std::string LongDivision::quotientText() const {
    // Unfinished, the digits gathered stand before those still to come.
    const int places = decimals_ - static_cast<int>(dividend_.size() - used_);
    return numberText(quotient_, std::max(places, 0), op_.resultNegative());
}

// Truncating division, as the columns work it: the remainder has the dividend's sign, so that
// quotient times divisor plus remainder is the dividend.
std::string LongDivision::remainderText() const {
    return partial_ == "0" ? "#j"
                           : numberText(toLetters(partial_), decimals_ + op_.divisorDecimals,
                                        op_.firstNegative);
}

bool LongDivision::right() const {
    return finished_ && !overflow_ && !quotient_.empty() &&
           sameValue(quotient_, decimals_, op_.expected, op_.expectedDecimals) &&
           sameValue(toLetters(partial_), decimals_ + op_.divisorDecimals, op_.remainder,
                     op_.remainderDecimals());
}

// ---- answer key

namespace {

std::vector<std::string> answered(const std::vector<std::string>& rows, std::string_view answers) {
    std::vector<std::string> out = rows;
    for (std::size_t r = 0; r < out.size(); ++r) {
        if (answers[r] != '\0') {
            out[r] += answers[r];
        }
    }
    return out;
}

}  // namespace

AnswerKey answerKey(const Operation& op, int requestedDecimals) {
    AnswerKey key;
    if (op.op == kDivide) {
        LongDivision division(op, requestedDecimals);
        LongDivision::Step step = LongDivision::Step::Next;
        while (step == LongDivision::Step::Next) {
            const int digit = division.correctDigit();
            key.rows.push_back(division.stepLine() + digitLetter(digit));
            step = division.enter(digit);
        }
        key.overflow = step == LongDivision::Step::Overflow;
        if (!key.overflow) {
            key.result = division.quotientText();
            key.remainder = division.remainderText();
        }
        return key;
    }
    const auto append = [&key](const std::vector<std::string>& rows) {
        key.rows.insert(key.rows.end(), rows.begin(), rows.end());
    };
    if (op.op == kTimes) {
        std::vector<std::vector<std::string>> tables = multiplicationTables(op);
        for (std::size_t t = 0; t < tables.size(); ++t) {
            tables[t] = answered(tables[t], correctAnswers(op, tables[t], static_cast<int>(t)));
            if (t > 0) {
                key.rows.emplace_back();
            }
            append(tables[t]);
        }
        if (tables.size() > 1) {
            const std::vector<std::string> sum = finalSumRows(tables);
            key.rows.emplace_back();
            append(answered(sum, correctAnswers(op, sum)));
        }
    } else {
        const std::vector<std::string> rows = columnRows(op);
        append(answered(rows, correctAnswers(op, rows)));
    }
    key.result = numberText(op.expected, op.expectedDecimals, op.resultNegative());
    return key;
}

}  // namespace learning
