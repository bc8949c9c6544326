// How far the package target's inputs got: a seed corpus is only useful if
// its packages get through the start-up into the payload walk and the
// registration, where most of the reading happens.
#pragma once

struct PackageReach {
    long inputs = 0;
    long wizard = 0;        // the wizard opened
    long payloadWalk = 0;   // the copying page showed
    long registration = 0;  // setup.dll's reg was called
    long components = 0;    // regocx calls, over all inputs
    long finished = 0;      // the finish page showed
};

PackageReach& PackageTargetReach();
