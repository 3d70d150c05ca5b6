#pragma once

#include <QThread>
#include <atomic>
#include <memory>

class Diffscenario;

// Runs a run's init, parse and compare steps on its own thread so that a window stays live.
// The scenario must not be touched by anyone else until the thread has finished.
class Runthread : public QThread {
public:
    enum Step { Init = 0, Parse = 1, Compare = 2, Done = 3 };

    explicit Runthread(Diffscenario* scenario);
    ~Runthread() override;

    // The step running now; after the end, Done or the step that failed. Safe from any thread.
    Step step() const { return static_cast<Step>(m_step.load()); }
    // 0, or the failed step's code (from init or parseFiles); valid once the thread finished.
    int result() const { return m_result; }
    // An earlier run's scenario, freed on the thread before the steps start: freeing large trees
    // takes a while. Call before start.
    void discardFirst(std::unique_ptr<Diffscenario> old);

protected:
    void run() override;

private:
    Diffscenario* m_scenario;
    std::unique_ptr<Diffscenario> m_discarded;
    std::atomic<int> m_step { Init };
    int m_result = 0;
};
