#include "ui/info/InfoTexts.h"

#include "core/fileio/FileIo.h"
#include "ui/main/MainTexts.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

namespace info_texts {

const std::string& ModeDataConfigHelp() {
    return GBK("数据配置");
}

const std::string& ModeAbout() {
    return GBK("关于");
}

const std::string& ModeReadme() {
    static const std::string mode = "readme.txt";
    return mode;
}

std::vector<std::string> HelpRows() {
    static const char* const kRows[] = {
        "(1)“自动分域”的功能:",
        "    从剪贴板获得如下引号内的文本, 并将之自动分解并放入三个输入域。",
        "“术语(汉意)",
        " ",
        "解释1",
        "解释1.1",
        " ",
        "解释2",
        "解释2.2",
        "......”",
        " ",
        "*注1: 我就是将 Vantrel 上的“词汇表”放到本地，",
        "      并替换全部“（”成“(”，替换全部“）”成“)”",
        "      再逐条拷贝并点击此按钮，加入到三个输入域中的。",
        "      所以数据的正确性没有问题。",
        " ",
        "*注2: 遇到没有解释的如下引号内的文本，不填解释域。",
        "“术语",
        " ",
        "汉意”",
        " ",
        "*注3: 仅有少数例如“NT”这样的词汇不能满足此按钮的两种输入格式，",
        "      所以自行修改，就不用程序自动控制了。",
        " ",
        " ",
        "(2) 在左边列表控制的条目上点击鼠标右键，",
        "    可以弹出对话框以“删除”或修改后“更新”术语数据。",
    };
    std::vector<std::string> rows;
    rows.reserve(std::size(kRows));
    for (const char* row : kRows) {
        rows.push_back(gbk::FromUtf8(row));
    }
    return rows;
}

std::vector<std::string> SplitAtCrLf(const std::string& text) {
    std::vector<std::string> rows;
    std::string line;
    for (const char byte : text) {
        line.push_back(byte);
        if (line.size() >= 2 && line[line.size() - 2] == '\r' && line.back() == '\n') {
            rows.push_back(std::move(line));
            line.clear();
        }
    }
    return rows;
}

std::vector<std::string> ReadmeRows(const std::filesystem::path& path) {
    std::string content;
    if (!fileio::ReadWholeFile(path, content).ok()) {
        return {GBK("读“") + PathText(path) + GBK("”文件失败")};
    }
    // Read as a text file: CR LF and LF end a line, and a last line without an end still counts.
    std::vector<std::string> rows;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) {
            end = content.size();
        }
        size_t stop = end;
        if (stop > start && content[stop - 1] == '\r') {
            --stop;
        }
        rows.push_back(content.substr(start, stop - start));
        start = end + 1;
    }
    return rows;
}

std::vector<std::string> RowsForMode(const std::string& mode, const std::filesystem::path& readme) {
    if (mode == ModeDataConfigHelp()) {
        return HelpRows();
    }
    if (mode == ModeAbout()) {
        return SplitAtCrLf(main_texts::AboutText());
    }
    if (mode == ModeReadme()) {
        return ReadmeRows(readme);
    }
    return {};
}

}  // namespace info_texts
