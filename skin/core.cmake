# Pure skin logic, no Win32: builds in both builds.
