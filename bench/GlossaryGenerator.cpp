#include "bench/GlossaryGenerator.h"

#include <random>
#include <unordered_set>

#include "util/GbkText.h"

namespace {

const char* const kWords[] = {
    "model",         "class",       "object",      "state",          "action",      "event",
    "signal",        "port",        "interface",   "package",        "profile",     "activity",
    "node",          "flow",        "partition",   "lifeline",       "message",     "fragment",
    "operand",       "gate",        "trigger",     "guard",          "effect",      "region",
    "vertex",        "junction",    "choice",      "history",        "component",   "connector",
    "artifact",      "deployment",  "manifest",    "usage",          "abstraction", "realization",
    "substitution",  "template",    "binding",     "parameter",      "property",    "operation",
    "reception",     "behavior",    "constraint",  "comment",        "namespace",   "element",
    "relationship",  "dependency",  "association", "generalization", "classifier",  "instance",
    "slot",          "value",       "expression",  "interval",       "duration",    "observation",
    "collaboration", "occurrence",  "execution",   "definition",     "pattern",     "factory",
    "builder",       "adapter",     "bridge",      "decorator",      "facade",      "proxy",
    "visitor",       "observer",    "strategy",    "command",        "iterator",    "mediator",
    "memento",       "requirement", "block",       "allocation",     "view",        "viewpoint",
    "stakeholder",   "concern",     "layer",       "service",        "repository",  "aggregate",
    "entity",        "context",     "domain",      "process",        "phase",       "iteration",
    "workflow"};

const char* const kMeanings[] = {
    "模型",   "类",       "对象", "状态", "动作", "事件",   "信号", "端口", "接口",   "包",
    "轮廓",   "活动",     "节点", "流",   "分区", "生命线", "消息", "片段", "操作数", "门",
    "触发器", "监护条件", "效应", "区域", "构件", "连接器", "制品", "部署", "依赖",   "关联"};

const char* const kExplanations[] = {
    "建模语言中的基本元素，用于描述系统的结构或行为。",
    "表示参与交互的一方，在图中以矩形和虚线表示其存在的时间。",
    "描述元素之间的关系，约束其在运行时可以出现的组合方式。\r\n也常用于需求追踪。",
    "一种可复用的设计方案，说明问题、解决办法以及使用后的效果。"};

std::string Capitalised(std::string word, int style) {
    if (style == 1) {
        word[0] = static_cast<char>(word[0] - 32);
    } else if (style == 2) {
        for (char& c : word) {
            c = static_cast<char>(c - 32);
        }
    }
    return word;
}

}  // namespace

const char* OnePercentKeyword() {
    return "ryx";
}

std::vector<CTermRecord> GenerateGlossary(size_t count, unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&rng](size_t n) { return static_cast<size_t>(rng() % n); };
    const size_t wordCount = sizeof kWords / sizeof *kWords;
    std::vector<CTermRecord> records;
    records.reserve(count);
    std::unordered_set<std::string> used;
    size_t serial = 0;
    while (records.size() < count) {
        std::string term;
        const size_t roll = pick(100);
        if (roll < 2) {
            term = gbk::FromUtf8(kMeanings[pick(30)]) + " ";
        } else if (roll < 5) {
            term = std::to_string(pick(10)) + "-";
        }
        const size_t words = 1 + pick(4);
        const int style = static_cast<int>(pick(10) < 6 ? 0 : (pick(4) == 0 ? 2 : 1));
        for (size_t w = 0; w < words; ++w) {
            if (w > 0) {
                term.push_back(' ');
            }
            term.append(Capitalised(kWords[pick(wordCount)], style));
        }
        // A serial suffix keeps terms unique; one in a hundred gets the search keyword in it.
        ++serial;
        term.append(serial % 100 == 0 ? " ryx" : " q").append(std::to_string(serial));
        if (!used.insert(term).second) {
            continue;
        }
        std::string explanation;
        const size_t sentences = 1 + pick(3);
        for (size_t s = 0; s < sentences; ++s) {
            explanation += gbk::FromUtf8(kExplanations[pick(4)]);
        }
        records.emplace_back(term, gbk::FromUtf8(kMeanings[pick(30)]), explanation);
    }
    return records;
}
