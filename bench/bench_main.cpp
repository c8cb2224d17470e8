// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark program: the trainer's application object on the offscreen platform (unless
// another is chosen), then every registered benchmark.
#include "BenchEnv.h"
#include "app/QuillApplication.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QuillApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    BenchEnv::shutDown();
    benchmark::Shutdown();
    return 0;
}
