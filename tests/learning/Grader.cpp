// A second reader grading in a loop, for the tests of kills and of two readers at once:
//   learning_grader PATH SOUREH COUNT
// grades ayehs 1, 2, ... of SOUREH "good", one at a time, COUNT times (0: until killed), and
// prints the number of grades kept after each one is committed.
#include "content/MushafCounts.h"
#include "learning/LearnerData.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: learning_grader PATH SOUREH COUNT\n", stderr);
        return 2;
    }
    const SystemLearningClock clock;
    const LearnerOpening opening = LearnerData::Open(QString::fromLocal8Bit(argv[1]), clock);
    if (!opening.Data) {
        std::fprintf(stderr, "%s\n", opening.Message.toLocal8Bit().constData());
        return 1;
    }
    const int soureh = std::atoi(argv[2]);
    const int count = std::atoi(argv[3]);
    try {
        for (int i = 0; count == 0 || i < count; ++i) {
            opening.Data->RecordGrade(soureh, i % NumberOfAyehs(soureh) + 1, Grade::Good);
            std::printf("%d\n", i + 1);
            std::fflush(stdout);
        }
    } catch (const LearningError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
