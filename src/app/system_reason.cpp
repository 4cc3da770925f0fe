#include "app/system_reason.hpp"

#include <cerrno>
#include <cstring>
#include <utility>

namespace morvane {
namespace {

// The errors that reading a replay code, writing a game or a code, and reading shards can meet.
// The C library's messages catalogue would give English in any locale that is not Chinese (and
// always on Windows), so the words are the game's own.
constexpr std::pair<int, const char*> kReasons[] = {
    {ENOSPC, "设备上没有空间"},
    {EBADF, "文件描述符无效（输出已经关闭）"},
    {EACCES, "没有权限"},
    {EPERM, "不允许这样操作"},
    {ENOENT, "没有这个文件或目录"},
    {EIO, "输入输出错误"},
    {EROFS, "文件系统是只读的"},
    {EISDIR, "这是一个目录"},
    {ENOTDIR, "路径中有一部分不是目录"},
    {EFBIG, "文件太大"},
    {ENAMETOOLONG, "文件名太长"},
    {EMFILE, "打开的文件太多"},
    {ENFILE, "系统中打开的文件太多"},
    {ENOMEM, "内存不足"},
    {ENXIO, "没有这个设备或地址"},
    {ENODEV, "没有这个设备"},
    {EEXIST, "文件已经存在"},
    {EINVAL, "参数无效"},
    {EAGAIN, "资源暂时不可用"},
    {EINTR, "被信号打断"},
    {EPIPE, "管道已经断开"},
    {EBUSY, "设备或资源正忙"},
#ifdef EDQUOT
    {EDQUOT, "超出了磁盘配额"},
#endif
#ifdef ELOOP
    {ELOOP, "符号链接的层数太多"},
#endif
#ifdef ETXTBSY
    {ETXTBSY, "文件正在使用中"},
#endif
#ifdef ESTALE
    {ESTALE, "网络文件系统的文件句柄已失效"},
#endif
#ifdef ETIMEDOUT
    {ETIMEDOUT, "连接超时"},
#endif
#ifdef ECONNRESET
    {ECONNRESET, "连接被对方重置"},
#endif
};

}  // namespace

std::string system_reason(int error) {
  for (const auto& [number, reason] : kReasons) {
    if (number == error) return reason;
  }
  return std::strerror(error);
}

}  // namespace morvane
