#include "base/station_error.h"

namespace station_error {
namespace {

std::FILE* g_stream = nullptr;

}  // namespace

std::FILE* Stream() { return g_stream ? g_stream : stderr; }

void SetStream(std::FILE* stream) { g_stream = stream; }

void Print(const QString& line) {
    std::FILE* out = Stream();
    std::fprintf(out, "%s\n", line.toLocal8Bit().constData());
    std::fflush(out);
}

}  // namespace station_error
