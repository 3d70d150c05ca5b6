#pragma once

#include <QString>
#include <QThread>

class Diffscenario;

// Writes a run's result file on its own thread.
class Writethread : public QThread {
public:
    explicit Writethread(Diffscenario* scenario);
    ~Writethread() override;

    // The writer's returned text: empty, or an error text.
    const QString& result() const { return m_result; }

protected:
    void run() override;

private:
    Diffscenario* m_scenario;
    QString m_result;
};
