#pragma once

#include <QString>
#include <stdexcept>
#include <string>

// A program that could not be started; the message is meant for the user as it stands.
class LaunchError : public std::runtime_error {
public:
    explicit LaunchError(const std::string& what) : std::runtime_error(what) {}
};

// Starts another program from a whole command line and returns at once, without waiting for it
// or keeping a handle. Throws LaunchError when it cannot be started.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    virtual void Start(const QString& commandLine) = 0;
};
