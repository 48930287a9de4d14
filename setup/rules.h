// Pure text and path rules of the installation engine (no Win32 calls), shared by the
// engine and the native unit tests.
#pragma once
