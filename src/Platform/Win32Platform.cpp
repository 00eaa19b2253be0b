// Win32 platform: being written.
