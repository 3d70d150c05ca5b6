#pragma once

// Registers the compiled-in images; safe to call more than once.
void zovInitResources();
