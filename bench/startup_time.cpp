// Starts the program repeatedly until its main window has painted and reports the time, from
// starting the process to the first paint (as the program measures it) and to its exit.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int runs = 11;
constexpr double limitMilliseconds = 300.0;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    const QString program = QStringLiteral(QB_PROGRAM_DIR "/quillbarrow");
    // A fresh home: no settings, no mail stores, as on a first start.
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QUILLBARROW_EXIT_AFTER_SHOW", "1");
    environment.insert("HOME", home.path());
    environment.remove("XDG_CONFIG_HOME");
    if (!environment.contains("DISPLAY") && !environment.contains("QT_QPA_PLATFORM"))
        environment.insert("QT_QPA_PLATFORM", "offscreen");

    std::vector<double> toExit;
    std::vector<double> toPaint;
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        process.setProcessEnvironment(environment);
        QElapsedTimer timer;
        timer.start();
        process.start(program, {});
        if (!process.waitForFinished(10000) || process.exitCode() != 0) {
            std::printf("the program did not start and exit: %s\n",
                        qPrintable(process.errorString()));
            return 1;
        }
        toExit.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        double reported = 0;
        if (std::sscanf(process.readAllStandardOutput().constData(),
                        "main window shown after %lf ms", &reported) == 1)
            toPaint.push_back(reported);
    }
    std::printf("process start to exit after the first paint, median of %d: %.1f ms\n", runs,
                median(toExit));
    if (!toPaint.empty())
        std::printf("main() to the first paint, as the program reports it: %.1f ms\n",
                    median(toPaint));
    const bool passed = median(toExit) < limitMilliseconds;
    std::printf("%s (limit %.0f ms)\n", passed ? "PASS" : "FAIL", limitMilliseconds);
    return passed ? 0 : 1;
}
