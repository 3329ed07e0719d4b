#include "core/fileio/FileStatusText.h"

#include "util/GbkText.h"

std::string ReasonText(const fileio::Status& status) {
    using fileio::Outcome;
    switch (status.outcome) {
        case Outcome::kOk:
            return {};
        case Outcome::kMissing:
            return GBK("文件不存在。");
        case Outcome::kNoAccess:
            return GBK("没有访问这个文件的权限。");
        case Outcome::kNotRegular:
            return GBK("这不是一个普通文件(而是文件夹、管道或设备)。");
        case Outcome::kTooLarge:
            return GBK("文件大于 1 GiB, 不是 Termix 的数据文件。");
        case Outcome::kReadOnly:
            return GBK("文件是只读的, 或者没有写入它的权限。");
        case Outcome::kNoSpace:
            return GBK("磁盘空间不足。");
        case Outcome::kNoFolder:
            return GBK("文件所在的文件夹不存在。");
        case Outcome::kBusy:
            return GBK("另一个程序正在修改这个文件, 等了很久仍未结束。请稍后再试一次。");
        case Outcome::kIoError:
            break;
    }
    return GBK("系统错误(代码 ") + std::to_string(status.systemError) + GBK(")。");
}
