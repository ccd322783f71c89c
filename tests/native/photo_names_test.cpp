// Filled in with its piece of work.
