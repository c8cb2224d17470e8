#pragma once

// String ids of the learner's statistics: the progress view, the weak-symbol drill and the export.
namespace StringId {
enum : int {
    WeakSymbolsTest = 65330,
    DrillWithoutHistory = 65331,
    DrillNothingDue = 65332,
    ConfusionLine = 65333,
    NeverSeen = 65334,
    WeakSymbol = 65335,
    LearningSymbol = 65336,
    KnownSymbol = 65337,
    SymbolSummary = 65338,
    AccuracyChartTitle = 65339,
    TimeChartTitle = 65340,
    NoRoundsYet = 65341,
    NoConfusionsYet = 65342,
    ExportCaption = 65343,
    CsvFilter = 65344,
    StatisticsExported = 65345,
    SymbolNeverAnswered = 65346,
    ConfusionOnce = 65347,
};
} // namespace StringId
