// Pure rules of the engine.
