// What a program holds that fails whatever happens while it runs, told before it runs.
#include "controller/controllertext.h"
#include "controller/machine.h"
#include "controller/statements.h"

#include <algorithm>
#include <deque>
#include <map>

namespace controller {

namespace {

// A literal is judged against its limit; a variable ("#L1", "#L1-1") is known only while
// running, but a literal beside it is judged as a counter is.
Verdict staticVerdict(const std::string& operand, const Limit& limit) {
    const std::string text = trim(operand);
    if (text.empty() || text[0] != '#') {
        return judge(text, limit);
    }
    const auto op = text.find_first_of("+-", 1);
    return op == std::string::npos ? Verdict::Accepted
                                   : staticVerdict(text.substr(op + 1), kSafeCounterLimit);
}

// The program's flow with conditions ignored, each jump and loop taken and not taken, and
// one node past the last statement for the program's end. A call adds an edge into its
// callee (one level deeper) and, once the callee can reach a return, an edge on to the
// next statement. A call whose callee can neither return nor end the program, yet leads
// back to the call, piles up calls whatever the inputs and counters do; a recursion that
// can return may still pile up, as the inputs and counters decide.
class CallFlow {
public:
    CallFlow(const std::vector<Statement>& code, const std::map<std::string, size_t>& labels)
        : m_flow(code.size() + 1), m_callee(code.size() + 1) {
        const size_t n = code.size();
        const auto target = [&](const std::string& label) -> std::optional<size_t> {
            const auto found = labels.find(label);
            return found == labels.end() ? std::nullopt : std::optional(found->second);
        };
        for (size_t i = 0; i < n; ++i) {
            const Statement& s = code[i];
            const bool jumps = s.op == Op::Jump || s.op == Op::JumpNotZero ||
                               s.op == Op::JumpInput || s.op == Op::JumpNotInput;
            if (s.op != Op::Jump && s.op != Op::Return && s.op != Op::Call) {
                m_flow[i].push_back(i + 1);
            }
            if (jumps) {
                if (const auto t = target(s.op == Op::Jump ? s.a : s.b)) {
                    m_flow[i].push_back(*t);
                }
            } else if (isCall(s.op)) {
                m_callee[i] = target(s.op == Op::Call ? s.a : s.b);
                m_calls.push_back(i);
            }
        }
        markReturning(code);
    }

    struct RecursiveCall {
        size_t statement = 0;
        bool endless = false;  // its callee can neither return nor end the program
    };
    // The calls reachable from the start that their own callee leads back to.
    std::vector<RecursiveCall> recursiveCalls() const {
        std::vector<RecursiveCall> recursive;
        const size_t end = m_flow.size() - 1;
        const std::vector<char> fromStart = reachable(0);
        for (const size_t i : m_calls) {
            if (!m_callee[i] || !fromStart[i]) {
                continue;
            }
            if (const std::vector<char> fromCallee = reachable(*m_callee[i]); fromCallee[i]) {
                recursive.push_back({i, !m_returning[*m_callee[i]] && !fromCallee[end]});
            }
        }
        return recursive;
    }

    // The call that nests one level beyond kMaxCallDepth on the deepest chain of calls
    // within calls the program can reach (a recursion, told above, counted once).
    std::optional<size_t> callBeyondTheDepth() const {
        std::map<size_t, std::pair<size_t, std::optional<size_t>>> deepest;  // entry → depth, call
        std::vector<char> open(m_flow.size(), 0);
        const auto depthFrom = [&](const auto& self, size_t entry) -> size_t {
            if (const auto known = deepest.find(entry); known != deepest.end()) {
                return known->second.first;
            }
            if (open[entry]) {
                return 0;
            }
            open[entry] = 1;
            std::pair<size_t, std::optional<size_t>> best{0, std::nullopt};
            const std::vector<char> level = reachableAtLevel(entry);
            for (const size_t c : m_calls) {
                if (level[c] && m_callee[c]) {
                    const size_t depth = 1 + self(self, *m_callee[c]);
                    if (depth > best.first) {
                        best = {depth, c};
                    }
                }
            }
            open[entry] = 0;
            deepest[entry] = best;
            return best.first;
        };
        if (depthFrom(depthFrom, 0) <= kMaxCallDepth) {
            return std::nullopt;
        }
        size_t entry = 0;
        for (size_t level = 1;; ++level) {
            const size_t call = *deepest[entry].second;
            if (level > kMaxCallDepth) {
                return call;
            }
            entry = *m_callee[call];
        }
    }

private:
    // What entry reaches without going into a call: a call that returns is passed over.
    std::vector<char> reachableAtLevel(size_t entry) const {
        std::vector<char> seen(m_flow.size(), 0);
        std::deque<size_t> queue{entry};
        seen[entry] = 1;
        while (!queue.empty()) {
            const size_t i = queue.front();
            queue.pop_front();
            std::vector<size_t> next = m_flow[i];
            if (m_callee[i] && m_returning[*m_callee[i]]) {
                next.push_back(i + 1);
            }
            for (const size_t j : next) {
                if (!seen[j]) {
                    seen[j] = 1;
                    queue.push_back(j);
                }
            }
        }
        return seen;
    }

    std::vector<size_t> successors(size_t i) const {
        std::vector<size_t> next = m_flow[i];
        if (m_callee[i]) {
            next.push_back(*m_callee[i]);
            if (m_returning[*m_callee[i]]) {
                next.push_back(i + 1);
            }
        }
        return next;
    }

    std::vector<char> reachable(size_t from) const {
        std::vector<char> seen(m_flow.size(), 0);
        if (from >= m_flow.size()) {
            return seen;
        }
        std::deque<size_t> queue{from};
        seen[from] = 1;
        while (!queue.empty()) {
            const size_t i = queue.front();
            queue.pop_front();
            for (const size_t j : successors(i)) {
                if (!seen[j]) {
                    seen[j] = 1;
                    queue.push_back(j);
                }
            }
        }
        return seen;
    }

    // m_returning[i]: from statement i a RET can be reached at the same depth. A call
    // passes on to its next statement only when its callee is returning, so the marks
    // grow from the RET statements backwards until nothing changes.
    void markReturning(const std::vector<Statement>& code) {
        const size_t n = code.size();
        m_returning.assign(n + 1, 0);
        std::vector<std::vector<size_t>> into(n + 1);
        for (size_t i = 0; i < n; ++i) {
            for (const size_t j : m_flow[i]) {
                into[j].push_back(i);
            }
        }
        std::vector<std::vector<size_t>> callers(n + 1);
        for (const size_t i : m_calls) {
            if (m_callee[i]) {
                callers[*m_callee[i]].push_back(i);
            }
        }
        std::deque<size_t> marked;
        const auto mark = [&](size_t i) {
            if (!m_returning[i]) {
                m_returning[i] = 1;
                marked.push_back(i);
            }
        };
        for (size_t i = 0; i < n; ++i) {
            if (code[i].op == Op::Return) {
                mark(i);
            }
        }
        while (!marked.empty()) {
            const size_t v = marked.front();
            marked.pop_front();
            for (const size_t u : into[v]) {
                mark(u);
            }
            // v follows a call whose callee returns: the call reaches v.
            if (v > 0 && m_callee[v - 1] && m_returning[*m_callee[v - 1]]) {
                mark(v - 1);
            }
            // v is a callee that returns: its calls reach what follows them.
            for (const size_t c : callers[v]) {
                if (m_returning[c + 1]) {
                    mark(c);
                }
            }
        }
    }

    std::vector<std::vector<size_t>> m_flow;
    std::vector<std::optional<size_t>> m_callee;
    std::vector<size_t> m_calls;  // the call statements (CALL, CI, CNI)
    std::vector<char> m_returning;
};

}  // namespace

std::vector<Fault> staticFaults(const std::vector<std::string>& lines) {
    std::vector<Fault> faults;
    for (size_t n = 0; n < lines.size(); ++n) {
        if (lines[n].size() > kMaxLineLength) {
            faults.push_back({FaultKind::LineTooLong, n + 1, lines[n], 0, Verdict::Accepted});
        }
    }
    if (lines.size() > kMaxProgramLines) {
        faults.push_back({FaultKind::ProgramTooLong, kMaxProgramLines + 1, {}, 0, {}});
    }
    const std::vector<Statement> code = parse(lines);
    std::map<std::string, size_t> labels;
    for (size_t i = 0; i < code.size(); ++i) {
        if (code[i].op == Op::Label) {
            labels.try_emplace(code[i].a, i);
        }
    }
    for (const Statement& s : code) {
        if (s.op == Op::Unknown) {
            faults.push_back({FaultKind::Unknown, s.line, describe(s), 0, Verdict::Accepted});
            continue;
        }
        const OperandRules rules = rulesOf(s.op);
        if (rules.a) {
            if (const Verdict v = staticVerdict(s.a, *rules.a); v != Verdict::Accepted) {
                faults.push_back({FaultKind::BadValue, s.line, describe(s), 1, v});
            }
        }
        if (rules.b) {
            if (const Verdict v = staticVerdict(s.b, *rules.b); v != Verdict::Accepted) {
                faults.push_back({FaultKind::BadValue, s.line, describe(s), 2, v});
            }
        }
        if (rules.aLabel || rules.bLabel) {
            if (!labels.contains(rules.aLabel ? s.a : s.b)) {
                faults.push_back({FaultKind::NoSuchLabel, s.line, describe(s), 0, {}});
            }
        }
    }
    const CallFlow flow(code, labels);
    if (const std::optional<size_t> call = flow.callBeyondTheDepth()) {
        faults.push_back(
            {FaultKind::CallChainTooDeep, code[*call].line, describe(code[*call]), 0, {}});
    }
    for (const auto& [i, endless] : flow.recursiveCalls()) {
        faults.push_back({endless ? FaultKind::CallsTooDeep : FaultKind::Recursion,
                          code[i].line,
                          describe(code[i]),
                          0,
                          {}});
    }
    std::stable_sort(faults.begin(), faults.end(),
                     [](const Fault& x, const Fault& y) { return x.line < y.line; });
    return faults;
}

}  // namespace controller
