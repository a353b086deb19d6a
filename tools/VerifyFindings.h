#pragma once
// How the checks of verify report: faults collected by kind, the first few of each listed.

#include <QString>
#include <QTextStream>
#include <map>

// Collects faults by kind, lists the first few of each and counts them all.
class Findings final {
public:
    explicit Findings(QTextStream& report) : Report(report) {}

    void Fault(const QString& kind, const QString& text) {
        int& seen = PerKind[kind];
        ++seen;
        ++Total;
        if (seen <= ListedPerKind)
            Report << "fault: " << text << "\n";
    }

    // Something worth saying that is no fault.
    void Note(const QString& text) { Report << "note: " << text << "\n"; }

    void Close() {
        for (const auto& [kind, seen] : PerKind) {
            if (seen > ListedPerKind)
                Report << "  ... and " << (seen - ListedPerKind) << " more faults of the kind: " << kind
                       << "\n";
        }
    }

    int Count() const { return Total; }

private:
    // Faults of one kind listed one by one before the rest are only counted.
    static constexpr int ListedPerKind = 20;
    QTextStream& Report;
    std::map<QString, int> PerKind;
    int Total = 0;
};
