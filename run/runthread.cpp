#include "run/runthread.h"

#include "run/diffscenario.h"

Runthread::Runthread(Diffscenario* scenario)
    : m_scenario(scenario)
{
}

Runthread::~Runthread() { wait(); }

void Runthread::discardFirst(std::unique_ptr<Diffscenario> old) { m_discarded = std::move(old); }

void Runthread::run()
{
    m_discarded.reset();
    m_step = Init;
    m_result = m_scenario->init();
    if (m_result != 0)
        return;
    m_step = Parse;
    m_result = m_scenario->parseFiles();
    if (m_result != 0)
        return;
    m_step = Compare;
    m_result = m_scenario->compare();
    if (m_result == 0)
        m_step = Done;
}
