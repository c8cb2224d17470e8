// SPDX-License-Identifier: GPL-3.0-or-later
// The quick quiz: its dialog opened (the content and the learner's confusions read, the setup
// painted), and the questions of a 40-question quiz made for each direction.
#include "BenchEnv.h"
#include "app/WindowSet.h"
#include "dialogs/QuickQuizDialog.h"
#include "learning/QuizContent.h"
#include "learning/QuizDirection.h"
#include "learning/QuizMaker.h"
#include "results/AnswerStore.h"

#include <QPixmap>
#include <benchmark/benchmark.h>

namespace {

constexpr int LongestQuiz = 40;

void BM_QuickQuizOpens(benchmark::State& state)
{
    guarded(state, [&] {
        QuickQuizDialog* dialog = BenchEnv::instance().windows().screens().quickQuiz;
        for (auto _ : state) {
            dialog->show();
            const QPixmap shown = dialog->grab();
            benchmark::DoNotOptimize(shown.cacheKey());
            state.PauseTiming();
            dialog->hide();
            state.ResumeTiming();
        }
    });
}
BENCHMARK(BM_QuickQuizOpens)->Unit(benchmark::kMillisecond);

void BM_QuickQuizQuestions(benchmark::State& state)
{
    guarded(state, [&] {
        const AnswerStore* store = BenchEnv::instance().windows().screens().answers;
        const QuizContent content = QuizContent::load(store);
        const QuizMaker maker(content);
        const QuizDirection& direction = QuizDirection::all().at(size_t(state.range(0)));
        qsizetype made = 0;
        for (auto _ : state)
            made = maker.questions(direction, LongestQuiz).size();
        if (made != LongestQuiz)
            state.SkipWithError("the direction made fewer questions than asked");
        state.SetLabel(direction.testName().toStdString());
    });
}
BENCHMARK(BM_QuickQuizQuestions)->DenseRange(0, 9)->Unit(benchmark::kMicrosecond);

} // namespace
