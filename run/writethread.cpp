#include "run/writethread.h"

#include "run/diffscenario.h"

Writethread::Writethread(Diffscenario* scenario)
    : m_scenario(scenario)
{
}

Writethread::~Writethread() { wait(); }

void Writethread::run() { m_result = m_scenario->writeResultFile(); }
