#pragma once

#include <QDialog>

class QComboBox;
class ResultsGrid;
struct Screens;

// The results viewer: a category of tests, a test of its catalogue, and that test's ranked results.
class ResultsViewer : public QDialog
{
    Q_OBJECT
public:
    explicit ResultsViewer(Screens& screens);

    QComboBox* categories() const { return m_categories; }
    QComboBox* tests() const { return m_tests; }
    ResultsGrid* table() const { return m_table; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void clearRows();
    QString catalogueOf(int category) const;
    quint8 kindOf(int category) const;
    bool loadCategory(int category);
    void showResults(int test);

    Screens& m_screens;
    QComboBox* m_categories = nullptr;
    QComboBox* m_tests = nullptr;
    ResultsGrid* m_table = nullptr;
    // The drill of the category shown, listed after its catalogue's tests.
    qint32 m_drillTestNumber = 0;
};
