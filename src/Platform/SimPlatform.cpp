// Simulated platform: being written.
